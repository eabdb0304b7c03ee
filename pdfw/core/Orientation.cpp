#include "pdfw/core/Orientation.h"

#include "base/Orientation.h"

namespace pdfw {

int normalOrientation(long value) {
    return folvane::NormalOrientation(value);
}

bool swapsAxes(int orientation) {
    return folvane::SwapsAxes(orientation);
}

int turnedOrientation(int orientation, int quarterTurns) {
    return folvane::TurnedOrientation(orientation, quarterTurns);
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
    const folvane::OrientationSteps steps = folvane::StepsOf(o);
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

} // namespace pdfw
