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

std::string SourceText(ScanSource source) {
    switch (source) {
    case ScanSource::Flatbed:
        return texts::Scan(texts::kSourceFlatbed);
    case ScanSource::Feeder:
        return texts::Scan(texts::kSourceFeeder);
    case ScanSource::Duplex:
        return texts::Scan(texts::kSourceDuplex);
    }
    return texts::Scan(texts::kScannerOwn);
}

std::string ModeText(ScanMode mode) {
    switch (mode) {
    case ScanMode::Color:
        return texts::Scan(texts::kModeColor);
    case ScanMode::Gray:
        return texts::Scan(texts::kModeGray);
    case ScanMode::Lineart:
        return texts::Scan(texts::kModeLineart);
    }
    return texts::Scan(texts::kScannerOwn);
}

// The index of the first of `wanted` (in order) that the list holds; 0 when it holds none.
template <class T> int IndexOfFirst(const std::vector<T> &values, const std::vector<T> &wanted) {
    for (const T &value : wanted) {
        const auto found = std::find(values.begin(), values.end(), value);
        if (found != values.end()) {
            return static_cast<int>(found - values.begin());
        }
    }
    return 0;
}

ChoiceList<std::optional<ScanSource>> SourceList(const DeviceChoices &offer,
                                                 const ScanDialogSettings &last) {
    ChoiceList<std::optional<ScanSource>> list;
    for (ScanSource source : offer.sources) {
        list.Add(SourceText(source), source);
    }
    if (list.items.empty()) {
        list.Add(texts::Scan(texts::kScannerOwn), std::nullopt);
    }
    list.chosen = IndexOfFirst(list.values, {last.Source(), offer.source});
    return list;
}

ChoiceList<std::optional<ScanMode>> ModeList(const DeviceChoices &offer,
                                             const ScanDialogSettings &last) {
    ChoiceList<std::optional<ScanMode>> list;
    for (ScanMode mode : offer.modes) {
        list.Add(ModeText(mode), mode);
    }
    if (list.items.empty()) {
        list.Add(texts::Scan(texts::kScannerOwn), std::nullopt);
    }
    list.chosen = IndexOfFirst(list.values, {last.Mode(), offer.mode});
    return list;
}

ChoiceList<int> ResolutionList(const DeviceChoices &offer, const ScanDialogSettings &last) {
    ChoiceList<int> list;
    for (int dpi : offer.resolutions.suggested()) {
        list.Add(texts::Scan(texts::kResolution, {std::to_string(dpi)}), dpi);
    }
    if (list.items.empty()) {
        list.Add(texts::Scan(texts::kScannerOwn), 0);
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
    list.chosen = IndexOfFirst(list.values, {last.Resolution(), nearest});
    return list;
}

ChoiceList<PageSize> PageSizeList(const DeviceChoices &offer, const ScanDialogSettings &last) {
    ChoiceList<PageSize> list;
    // Without a bed of known size the scanner keeps its own area.
    if (!offer.maxArea) {
        list.Add(texts::Scan(texts::kScannerOwn), PageSize::DeviceDefault);
        return list;
    }
    list.Add(texts::Scan(texts::kPageA4), PageSize::A4);
    list.Add(texts::Scan(texts::kPageLetter), PageSize::Letter);
    list.Add(texts::Scan(texts::kPageMaximum), PageSize::Maximum);
    list.chosen = IndexOfFirst(list.values, {last.PaperSize().value_or(PageSize::A4)});
    return list;
}

template <class T> const T *Chosen(const ChoiceList<T> &list, int index) {
    return index >= 0 && index < static_cast<int>(list.values.size())
               ? &list.values[static_cast<std::size_t>(index)]
               : nullptr;
}

// Millimetres to a tenth, without a trailing ".0".
std::string Millimetres(double mm) {
    const long tenths = std::lround(mm * 10);
    return std::to_string(tenths / 10) + (tenths % 10 ? "." + std::to_string(tenths % 10) : "");
}

} // namespace

ScanChoiceLists ChoiceListsFor(const DeviceChoices &offer, const ScanDialogSettings &last) {
    return {SourceList(offer, last), ModeList(offer, last), ResolutionList(offer, last),
            PageSizeList(offer, last), offer.maxArea};
}

ScanSettings SettingsOf(const ScanChoiceLists &lists, const ChosenItems &chosen) {
    ScanSettings settings;
    if (const auto *source = Chosen(lists.sources, chosen.source)) {
        settings.source = *source;
    }
    if (const auto *mode = Chosen(lists.modes, chosen.mode)) {
        settings.mode = *mode;
    }
    if (const int *dpi = Chosen(lists.resolutions, chosen.resolution)) {
        settings.resolution = *dpi;
    }
    if (const PageSize *size = Chosen(lists.pageSizes, chosen.pageSize)) {
        settings.pageSize = *size;
    }
    return settings;
}

std::string PaperHint(const ScanChoiceLists &lists, int pageSize) {
    const std::optional<ScanArea> paper = folvane::scan::paperBeyondBed(
        SettingsOf(lists, ChosenItems{-1, -1, -1, pageSize}), lists.bed);
    if (!paper) {
        return {};
    }
    return texts::Scan(texts::kScanPaperBeyondBed,
                       {Millimetres(paper->width), Millimetres(paper->height),
                        Millimetres(lists.bed->width), Millimetres(lists.bed->height)});
}
