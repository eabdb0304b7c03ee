#include "scan/ScanGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "scan/ScanError.h"

namespace folvane::scan {

namespace {

constexpr double kMmPerInch = 25.4;

// Millimetres per unit of the option: 1 for mm, 25.4 / dpi for pixels.
double mmPerUnit(const SaneOptions &options, const std::string &name) {
    const SANE_Option_Descriptor *d = options.active(name);
    if (d == nullptr || d->unit != SANE_UNIT_PIXEL) {
        return 1.0;
    }
    std::optional<double> dpi = options.getNumber("resolution");
    if (!dpi) {
        dpi = options.getNumber("x-resolution");
    }
    return dpi && *dpi > 0 ? kMmPerInch / *dpi : 1.0;
}

struct Span {
    double min;
    double max;
};

// The range of an option in millimetres.
std::optional<Span> spanOf(const SaneOptions &options, const std::string &name) {
    NumberConstraint constraint = options.constraint(name);
    if (!constraint.min || !constraint.max) {
        return std::nullopt;
    }
    const double scale = mmPerUnit(options, name);
    return Span{*constraint.min * scale, *constraint.max * scale};
}

// Sets a geometry option to `mm`, clamped to its range and rounded to its step.
void setMm(SaneOptions &options, const std::string &name, double mm) {
    const double scale = mmPerUnit(options, name);
    double value = mm / scale;
    NumberConstraint constraint = options.constraint(name);
    if (constraint.min && constraint.max) {
        if (constraint.quant > 0) {
            value = *constraint.min +
                    std::round((value - *constraint.min) / constraint.quant) * constraint.quant;
        }
        value = std::clamp(value, *constraint.min, *constraint.max);
    }
    char shown[32];
    std::snprintf(shown, sizeof shown, "%.1f mm", mm);
    options.setNumber(name, value, shown);
}

[[noreturn]] void noArea(const std::string &device) {
    ScanError error;
    error.kind = ScanErrorKind::InvalidOption;
    error.device = device;
    error.option = "tl-x";
    error.detail = "the scanner has no scan area options";
    throw ScanFailure(error);
}

} // namespace

std::optional<ScanArea> bedArea(const SaneOptions &options) {
    std::optional<Span> left = spanOf(options, "tl-x");
    std::optional<Span> top = spanOf(options, "tl-y");
    std::optional<Span> right = spanOf(options, "br-x");
    std::optional<Span> bottom = spanOf(options, "br-y");
    if (!left || !top || !right || !bottom || right->max <= left->min || bottom->max <= top->min) {
        return std::nullopt;
    }
    return ScanArea{left->min, top->min, right->max - left->min, bottom->max - top->min};
}

void setArea(SaneOptions &options, const ScanArea &area) {
    for (const char *name : {"tl-x", "tl-y", "br-x", "br-y"}) {
        if (!options.settable(name)) {
            noArea(options.device());
        }
    }
    // A feeder's paper size first: it can change the ranges of the area options.
    if (options.settable("page-width") && options.settable("page-height")) {
        setMm(options, "page-width", area.width);
        setMm(options, "page-height", area.height);
    }
    std::optional<ScanArea> bed = bedArea(options);
    double left = (bed ? bed->left : 0) + std::max(0.0, area.left);
    double top = (bed ? bed->top : 0) + std::max(0.0, area.top);
    double right = left + area.width;
    double bottom = top + area.height;
    if (bed) {
        right = std::min(right, bed->left + bed->width);
        bottom = std::min(bottom, bed->top + bed->height);
    }
    // The corner goes to the bed's first, so no step sees the left edge right of the right one.
    setMm(options, "tl-x", bed ? bed->left : 0);
    setMm(options, "tl-y", bed ? bed->top : 0);
    setMm(options, "br-x", right);
    setMm(options, "br-y", bottom);
    setMm(options, "tl-x", std::min(left, right));
    setMm(options, "tl-y", std::min(top, bottom));
}

} // namespace folvane::scan
