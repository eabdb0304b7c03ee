#include "app/ScanChoiceLists.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/ScanDialogSettings.h"
#include "app/ScanTexts.h"
#include "app/WindowTexts.h"

namespace {

using namespace folvane::scan;

// The resolution chosen when neither the last scan nor the scanner says: a usual one for pages.
constexpr int kPageResolution = 300;

std::string sourceText(ScanSource source) {
    switch (source) {
    case ScanSource::Flatbed:
        return folvane::app::texts::scan(folvane::app::texts::kSourceFlatbed);
    case ScanSource::Feeder:
        return folvane::app::texts::scan(folvane::app::texts::kSourceFeeder);
    case ScanSource::Duplex:
        return folvane::app::texts::scan(folvane::app::texts::kSourceDuplex);
    }
    return folvane::app::texts::scan(folvane::app::texts::kScannerOwn);
}

std::string modeText(ScanMode mode) {
    switch (mode) {
    case ScanMode::Color:
        return folvane::app::texts::scan(folvane::app::texts::kModeColor);
    case ScanMode::Gray:
        return folvane::app::texts::scan(folvane::app::texts::kModeGray);
    case ScanMode::Lineart:
        return folvane::app::texts::scan(folvane::app::texts::kModeLineart);
    }
    return folvane::app::texts::scan(folvane::app::texts::kScannerOwn);
}

// The index of the first of `wanted` (in order) that the list holds; 0 when it holds none.
template <class T> int indexOfFirst(const std::vector<T> &values, const std::vector<T> &wanted) {
    for (const T &value : wanted) {
        const auto found = std::find(values.begin(), values.end(), value);
        if (found != values.end()) {
            return static_cast<int>(found - values.begin());
        }
    }
    return 0;
}

ChoiceList<std::optional<ScanSource>> sourceList(const DeviceChoices &offer,
                                                 const ScanDialogSettings &last) {
    ChoiceList<std::optional<ScanSource>> list;
    for (ScanSource source : offer.sources) {
        list.add(sourceText(source), source);
    }
    if (list.items.empty()) {
        list.add(folvane::app::texts::scan(folvane::app::texts::kScannerOwn), std::nullopt);
    }
    list.chosen = indexOfFirst(list.values, {last.source(), offer.source});
    return list;
}

ChoiceList<std::optional<ScanMode>> modeList(const DeviceChoices &offer,
                                             const ScanDialogSettings &last) {
    ChoiceList<std::optional<ScanMode>> list;
    for (ScanMode mode : offer.modes) {
        list.add(modeText(mode), mode);
    }
    if (list.items.empty()) {
        list.add(folvane::app::texts::scan(folvane::app::texts::kScannerOwn), std::nullopt);
    }
    list.chosen = indexOfFirst(list.values, {last.mode(), offer.mode});
    return list;
}

ChoiceList<int> resolutionList(const DeviceChoices &offer, const ScanDialogSettings &last) {
    ChoiceList<int> list;
    for (int dpi : offer.resolutions.suggested()) {
        list.add(folvane::app::texts::scan(folvane::app::texts::kResolution, {std::to_string(dpi)}),
                 dpi);
    }
    if (list.items.empty()) {
        list.add(folvane::app::texts::scan(folvane::app::texts::kScannerOwn), 0);
        return list;
    }
    // As folvane-pdf does: the listed value nearest 300 dpi, not the scanner's own setting,
    // which drivers often start at a preview's coarse resolution.
    int nearest = list.values.front();
    for (int dpi : list.values) {
        if (std::abs(dpi - kPageResolution) < std::abs(nearest - kPageResolution)) {
            nearest = dpi;
        }
    }
    list.chosen = indexOfFirst(list.values, {last.resolution(), nearest});
    return list;
}

ChoiceList<PageSize> pageSizeList(const DeviceChoices &offer, const ScanDialogSettings &last) {
    ChoiceList<PageSize> list;
    // Without a bed of known size the scanner keeps its own area.
    if (!offer.maxArea) {
        list.add(folvane::app::texts::scan(folvane::app::texts::kScannerOwn),
                 PageSize::DeviceDefault);
        return list;
    }
    list.add(folvane::app::texts::scan(folvane::app::texts::kPageA4), PageSize::A4);
    list.add(folvane::app::texts::scan(folvane::app::texts::kPageLetter), PageSize::Letter);
    list.add(folvane::app::texts::scan(folvane::app::texts::kPageMaximum), PageSize::Maximum);
    list.chosen = indexOfFirst(list.values, {last.paperSize().value_or(PageSize::A4)});
    return list;
}

template <class T> const T *itemAt(const ChoiceList<T> &list, int index) {
    return index >= 0 && index < static_cast<int>(list.values.size())
               ? &list.values[static_cast<std::size_t>(index)]
               : nullptr;
}

// Millimetres to a tenth, without a trailing ".0".
std::string millimetres(double mm) {
    const long tenths = std::lround(mm * 10);
    return std::to_string(tenths / 10) + (tenths % 10 ? "." + std::to_string(tenths % 10) : "");
}

} // namespace

ScanChoiceLists choiceListsFor(const DeviceChoices &offer, const ScanDialogSettings &last) {
    return {sourceList(offer, last), modeList(offer, last), resolutionList(offer, last),
            pageSizeList(offer, last), offer.maxArea};
}

ScanSettings settingsOf(const ScanChoiceLists &lists, const ChosenItems &chosen) {
    ScanSettings settings;
    if (const auto *source = itemAt(lists.sources, chosen.source)) {
        settings.source = *source;
    }
    if (const auto *mode = itemAt(lists.modes, chosen.mode)) {
        settings.mode = *mode;
    }
    if (const int *dpi = itemAt(lists.resolutions, chosen.resolution)) {
        settings.resolution = *dpi;
    }
    if (const PageSize *size = itemAt(lists.pageSizes, chosen.pageSize)) {
        settings.pageSize = *size;
    }
    return settings;
}

std::string paperHint(const ScanChoiceLists &lists, int pageSize) {
    const std::optional<ScanArea> paper = folvane::scan::paperBeyondBed(
        settingsOf(lists, ChosenItems{-1, -1, -1, pageSize}), lists.bed);
    if (!paper) {
        return {};
    }
    return folvane::app::texts::scan(folvane::app::texts::kScanPaperBeyondBed,
                                     {millimetres(paper->width), millimetres(paper->height),
                                      millimetres(lists.bed->width),
                                      millimetres(lists.bed->height)});
}
