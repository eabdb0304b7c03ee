#include "pdfw/core/Orientation.h"

#include <algorithm>

#include "base/Orientation.h"

namespace folvane::pdfw {

int normalOrientation(long value) {
    return folvane::normalOrientation(value);
}

bool swapsAxes(int orientation) {
    return folvane::swapsAxes(orientation);
}

int turnedOrientation(int orientation, int quarterTurns) {
    return folvane::turnedOrientation(orientation, quarterTurns);
}

Matrix placementMatrix(int orientation, std::uint32_t width, std::uint32_t height, float x, float y,
                       float scale) {
    // The unit-square map (u, v) -> (a u + c v + e, b u + d v + f), v pointing up and the
    // stored first row at v = 1, that puts the stored picture upright: the orientation's
    // mirror, then its clockwise quarter turns, each composed onto the map so far.
    struct Unit {
        int a, b, c, d, e, f;
    };
    int o = normalOrientation(orientation);
    const folvane::OrientationSteps steps = folvane::stepsOf(o);
    Unit u{1, 0, 0, 1, 0, 0};
    if (steps.mirror) { // x -> 1 - x
        u = {-u.a, u.b, -u.c, u.d, 1 - u.e, u.f};
    }
    for (int turn = 0; turn < steps.clockwiseTurns; ++turn) { // (x, y) -> (y, 1 - x)
        u = {u.b, -u.a, u.d, -u.c, u.f, 1 - u.e};
    }
    double shownWidth = static_cast<double>(swapsAxes(o) ? height : width) * scale;
    double shownHeight = static_cast<double>(swapsAxes(o) ? width : height) * scale;
    return Matrix{
        static_cast<float>(u.a * shownWidth),     static_cast<float>(u.b * shownHeight),
        static_cast<float>(u.c * shownWidth),     static_cast<float>(u.d * shownHeight),
        static_cast<float>(u.e * shownWidth + x), static_cast<float>(u.f * shownHeight + y)};
}

ShownPlacement shownPlacement(int orientation, std::uint32_t width, std::uint32_t height,
                              const folvane::StoredArea &shown, float x, float y, float scale) {
    const Matrix whole = placementMatrix(orientation, width, height, 0, 0, scale);
    // Two opposite corners of the part, as points of the unit square (v up, first row at 1).
    const double u0 = static_cast<double>(shown.x) / width;
    const double u1 = static_cast<double>(shown.x + shown.width) / width;
    const double v0 = 1 - static_cast<double>(shown.y) / height;
    const double v1 = 1 - static_cast<double>(shown.y + shown.height) / height;
    const double x0 = whole.a * u0 + whole.c * v0, y0 = whole.b * u0 + whole.d * v0;
    const double x1 = whole.a * u1 + whole.c * v1, y1 = whole.b * u1 + whole.d * v1;
    // Move the part's lower left corner to (x, y).
    Matrix m = whole;
    m.e = static_cast<float>(x - std::min(x0, x1));
    m.f = static_cast<float>(y - std::min(y0, y1));
    const bool swapped = swapsAxes(orientation);
    const auto shownWidth = static_cast<double>(swapped ? shown.height : shown.width) * scale;
    const auto shownHeight = static_cast<double>(swapped ? shown.width : shown.height) * scale;
    return {m, static_cast<float>(shownWidth), static_cast<float>(shownHeight)};
}

} // namespace folvane::pdfw
