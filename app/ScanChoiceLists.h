#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scan/ScanSettings.h"

class ScanDialogSettings;

// The items of one of the scan dialog's drop-down lists, the value behind each, and the item
// chosen first.
template <class T> struct ChoiceList {
    std::vector<std::string> items;
    std::vector<T> values;
    int chosen = 0;

    void add(std::string item, T value) {
        items.push_back(std::move(item));
        values.push_back(std::move(value));
    }
};

// What the scan dialog offers for one scanner: its sources, modes and resolutions as it lists
// them, and the page sizes (a scanner that offers no choice of something gets the one item
// "扫描仪默认", which leaves it as it is). Chosen first is the last scan's choice where the
// scanner offers it, else the scanner's own source and mode, the resolution nearest 300 dpi
// and A4.
struct ScanChoiceLists {
    ChoiceList<std::optional<folvane::scan::ScanSource>> sources;
    ChoiceList<std::optional<folvane::scan::ScanMode>> modes;
    ChoiceList<int> resolutions; // dots per inch; 0: the scanner's own
    ChoiceList<folvane::scan::PageSize> pageSizes;
    std::optional<folvane::scan::ScanArea> bed; // the scanner's whole area, when it says
};

ScanChoiceLists choiceListsFor(const folvane::scan::DeviceChoices &offer,
                               const ScanDialogSettings &last);

// The settings the chosen items stand for; an index that names no item leaves that setting
// to the scanner.
struct ChosenItems {
    int source = -1;
    int mode = -1;
    int resolution = -1;
    int pageSize = -1;
};
folvane::scan::ScanSettings settingsOf(const ScanChoiceLists &lists, const ChosenItems &chosen);

// What the dialog says under the page size of item `pageSize`: that the paper is larger than
// the scanner's bed, with both sizes; "" when it fits or either size is unknown.
std::string paperHint(const ScanChoiceLists &lists, int pageSize);
