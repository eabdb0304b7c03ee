// What a scan is asked for, and what a scanner offers to choose from. The names are the user's
// (flatbed, feeder, colour, ...); the scanner's own option values, which differ between drivers,
// are matched to them inside the library.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace folvane::scan {

enum class ScanSource { Flatbed, Feeder, Duplex };
enum class ScanMode { Color, Gray, Lineart };

// A rectangle on the scanner's bed, in millimetres from its top-left corner.
struct ScanArea {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// A paper size placed at the bed's top-left corner; DeviceDefault leaves the scanner's area as
// it is, Maximum takes all of it.
enum class PageSize { DeviceDefault, A4, Letter, Maximum };

// Unset fields leave the scanner as it is, except the resolution (see below).
struct ScanSettings {
    std::optional<ScanSource> source;
    std::optional<ScanMode> mode;
    int resolution = 0; // dots per inch; 0: the offered value nearest 300
    int bitDepth = 0;   // grey and colour: 8 or 16; 0: 8 where the scanner offers a choice
    PageSize pageSize = PageSize::DeviceDefault;
    std::optional<ScanArea> area; // wins over pageSize; clipped to the bed
};

// The resolutions a scanner takes: a list of values, or a range min..max in steps of `step`.
struct ResolutionChoices {
    std::vector<int> values; // the list; empty for a range
    int min = 0;
    int max = 0;
    int step = 0;

    bool allows(int dpi) const;
    // The allowed value nearest `dpi` (the larger on a tie); 0 when nothing is offered.
    int nearest(int dpi) const;
    // Values for a menu: the list, or the usual ones (75 ... 1200) the range allows.
    std::vector<int> suggested() const;
    // "75, 150, 300" or "50..1200 in steps of 1", for messages.
    std::string describe() const;
};

// What an open scanner offers and how it is set now.
struct DeviceChoices {
    std::vector<ScanSource> sources; // empty: the scanner has no source option (a flatbed)
    std::vector<ScanMode> modes;
    ResolutionChoices resolutions;
    std::vector<int> bitDepths;      // empty: no choice
    std::optional<ScanArea> maxArea; // the whole bed, when the scanner says
    std::optional<ScanSource> source;
    std::optional<ScanMode> mode;
    double resolution = 0;
};

// The size in millimetres of a paper size (A4 210 x 297, Letter 215.9 x 279.4); nullopt for
// DeviceDefault and Maximum.
std::optional<ScanArea> paperArea(PageSize size);

// The paper size `settings` ask for when it is larger than the scanner's bed `bed` either way:
// the scan then holds only the part of the paper on the bed. nullopt when it fits, when an area
// is given instead, or when either size is unknown.
std::optional<ScanArea> paperBeyondBed(const ScanSettings &settings,
                                       const std::optional<ScanArea> &bed);

const char *sourceName(ScanSource source); // "flatbed", "feeder", "duplex"
const char *modeName(ScanMode mode);       // "color", "gray", "lineart"

} // namespace folvane::scan
