#include "scan/ScanSettings.h"

#include <cstdlib>

namespace folvane::scan {

namespace {

constexpr int kUsualResolutions[] = {75, 100, 150, 200, 300, 400, 600, 1200};

} // namespace

bool ResolutionChoices::allows(int dpi) const {
    if (!values.empty()) {
        for (int value : values) {
            if (value == dpi) {
                return true;
            }
        }
        return false;
    }
    if (max <= 0 || dpi < min || dpi > max) {
        return false;
    }
    return step <= 0 || (dpi - min) % step == 0;
}

int ResolutionChoices::nearest(int dpi) const {
    if (!values.empty()) {
        int best = values.front();
        for (int value : values) {
            const int distance = std::abs(value - dpi);
            const int bestDistance = std::abs(best - dpi);
            if (distance < bestDistance || (distance == bestDistance && value > best)) {
                best = value;
            }
        }
        return best;
    }
    if (max <= 0) {
        return 0;
    }
    if (dpi <= min) {
        return min;
    }
    if (dpi >= max) {
        return max;
    }
    if (step <= 1) {
        return dpi;
    }
    const int below = min + (dpi - min) / step * step;
    const int above = below + step;
    return above <= max && above - dpi <= dpi - below ? above : below;
}

std::vector<int> ResolutionChoices::suggested() const {
    if (!values.empty()) {
        return values;
    }
    std::vector<int> suggested;
    for (int dpi : kUsualResolutions) {
        if (allows(dpi)) {
            suggested.push_back(dpi);
        }
    }
    return suggested;
}

std::string ResolutionChoices::describe() const {
    std::string text;
    for (int value : values) {
        text += (text.empty() ? "" : ", ") + std::to_string(value);
    }
    if (values.empty() && max > 0) {
        text = std::to_string(min) + ".." + std::to_string(max);
        if (step > 1) {
            text += " in steps of " + std::to_string(step);
        }
    }
    return text;
}

std::optional<ScanArea> paperArea(PageSize size) {
    switch (size) {
    case PageSize::A4:
        return ScanArea{0, 0, 210, 297};
    case PageSize::Letter:
        return ScanArea{0, 0, 215.9, 279.4};
    default:
        return std::nullopt;
    }
}

std::optional<ScanArea> paperBeyondBed(const ScanSettings &settings,
                                       const std::optional<ScanArea> &bed) {
    // Scanners state their bed to a fraction of a millimetre (215.9 for a letter-wide one as
    // 216 or 215.8).
    constexpr double kSlackMm = 0.5;
    std::optional<ScanArea> paper = paperArea(settings.pageSize);
    if (settings.area || !paper || !bed) {
        return std::nullopt;
    }
    if (paper->width <= bed->width + kSlackMm && paper->height <= bed->height + kSlackMm) {
        return std::nullopt;
    }
    return paper;
}

const char *sourceName(ScanSource source) {
    switch (source) {
    case ScanSource::Flatbed:
        return "flatbed";
    case ScanSource::Feeder:
        return "feeder";
    default:
        return "duplex";
    }
}

const char *modeName(ScanMode mode) {
    switch (mode) {
    case ScanMode::Color:
        return "color";
    case ScanMode::Gray:
        return "gray";
    default:
        return "lineart";
    }
}

} // namespace folvane::scan
