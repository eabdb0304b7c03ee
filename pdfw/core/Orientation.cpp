#include "pdfw/core/Orientation.h"

namespace pdfw {

int normalOrientation(long value) {
    return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
}

bool swapsAxes(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

Matrix placementMatrix(int orientation, std::uint32_t width, std::uint32_t height, float x, float y,
                       float scale) {
    // Unit-square maps (u, v) -> (a u + c v + e, b u + d v + f), v pointing up and the
    // stored first row at v = 1, that put the stored picture upright.
    struct Unit {
        int a, b, c, d, e, f;
    };
    static constexpr Unit kUnit[9] = {
        {1, 0, 0, 1, 0, 0},   // (unused)
        {1, 0, 0, 1, 0, 0},   // 1: upright
        {-1, 0, 0, 1, 1, 0},  // 2: mirrored left-right
        {-1, 0, 0, -1, 1, 1}, // 3: upside down
        {1, 0, 0, -1, 0, 1},  // 4: mirrored top-bottom
        {0, -1, -1, 0, 1, 1}, // 5: transposed
        {0, -1, 1, 0, 0, 1},  // 6: shown turned a quarter clockwise
        {0, 1, 1, 0, 0, 0},   // 7: transversed
        {0, 1, -1, 0, 1, 0},  // 8: shown turned a quarter anticlockwise
    };
    int o = normalOrientation(orientation);
    const Unit &u = kUnit[o];
    double shownWidth = static_cast<double>(swapsAxes(o) ? height : width) * scale;
    double shownHeight = static_cast<double>(swapsAxes(o) ? width : height) * scale;
    return Matrix{
        static_cast<float>(u.a * shownWidth),     static_cast<float>(u.b * shownHeight),
        static_cast<float>(u.c * shownWidth),     static_cast<float>(u.d * shownHeight),
        static_cast<float>(u.e * shownWidth + x), static_cast<float>(u.f * shownHeight + y)};
}

} // namespace pdfw
