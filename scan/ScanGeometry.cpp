#include "scan/ScanGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "scan/ScanError.h"

namespace folvane::scan {

namespace {

constexpr double kMmPerInch = 25.4;

// Millimetres per unit of the option: 1 for mm, 25.4 / dpi for pixels.
double MmPerUnit(const SaneOptions &options, const std::string &name) {
    const SANE_Option_Descriptor *d = options.Active(name);
    if (d == nullptr || d->unit != SANE_UNIT_PIXEL) {
        return 1.0;
    }
    std::optional<double> dpi = options.GetNumber("resolution");
    if (!dpi) {
        dpi = options.GetNumber("x-resolution");
    }
    return dpi && *dpi > 0 ? kMmPerInch / *dpi : 1.0;
}

struct Span {
    double min;
    double max;
};

// The range of an option in millimetres.
std::optional<Span> SpanOf(const SaneOptions &options, const std::string &name) {
    NumberConstraint constraint = options.Constraint(name);
    if (!constraint.min || !constraint.max) {
        return std::nullopt;
    }
    const double scale = MmPerUnit(options, name);
    return Span{*constraint.min * scale, *constraint.max * scale};
}

// Sets a geometry option to `mm`, clamped to its range and rounded to its step.
void SetMm(SaneOptions &options, const std::string &name, double mm) {
    const double scale = MmPerUnit(options, name);
    double value = mm / scale;
    NumberConstraint constraint = options.Constraint(name);
    if (constraint.min && constraint.max) {
        if (constraint.quant > 0) {
            value = *constraint.min +
                    std::round((value - *constraint.min) / constraint.quant) * constraint.quant;
        }
        value = std::clamp(value, *constraint.min, *constraint.max);
    }
    char shown[32];
    std::snprintf(shown, sizeof shown, "%.1f mm", mm);
    options.SetNumber(name, value, shown);
}

[[noreturn]] void NoArea(const std::string &device) {
    ScanError error;
    error.kind = ScanErrorKind::InvalidOption;
    error.device = device;
    error.option = "tl-x";
    error.detail = "the scanner has no scan area options";
    throw ScanFailure(error);
}

} // namespace

std::optional<ScanArea> BedArea(const SaneOptions &options) {
    std::optional<Span> left = SpanOf(options, "tl-x");
    std::optional<Span> top = SpanOf(options, "tl-y");
    std::optional<Span> right = SpanOf(options, "br-x");
    std::optional<Span> bottom = SpanOf(options, "br-y");
    if (!left || !top || !right || !bottom || right->max <= left->min || bottom->max <= top->min) {
        return std::nullopt;
    }
    return ScanArea{left->min, top->min, right->max - left->min, bottom->max - top->min};
}

void SetArea(SaneOptions &options, const ScanArea &area) {
    for (const char *name : {"tl-x", "tl-y", "br-x", "br-y"}) {
        if (!options.Settable(name)) {
            NoArea(options.Device());
        }
    }
    // A feeder's paper size first: it can change the ranges of the area options.
    if (options.Settable("page-width") && options.Settable("page-height")) {
        SetMm(options, "page-width", area.width);
        SetMm(options, "page-height", area.height);
    }
    std::optional<ScanArea> bed = BedArea(options);
    double left = (bed ? bed->left : 0) + std::max(0.0, area.left);
    double top = (bed ? bed->top : 0) + std::max(0.0, area.top);
    double right = left + area.width;
    double bottom = top + area.height;
    if (bed) {
        right = std::min(right, bed->left + bed->width);
        bottom = std::min(bottom, bed->top + bed->height);
    }
    // The corner goes to the bed's first, so no step sees the left edge right of the right one.
    SetMm(options, "tl-x", bed ? bed->left : 0);
    SetMm(options, "tl-y", bed ? bed->top : 0);
    SetMm(options, "br-x", right);
    SetMm(options, "br-y", bottom);
    SetMm(options, "tl-x", std::min(left, right));
    SetMm(options, "tl-y", std::min(top, bottom));
}

} // namespace folvane::scan
