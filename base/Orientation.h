// What each orientation value of the EXIF and TIFF Orientation tag (1 upright ... 8) does to
// the stored picture to show it upright: the one table every library that turns a picture
// reads, so that the preview, the PDF engine, recognition and correction turn it alike.
// Anything outside 1..8 counts as upright.
#pragma once

#include <cstdint>

namespace folvane {

// Showing the stored picture upright takes, in this order: a mirror left to right (when
// `mirror`), then `clockwiseTurns` quarter turns clockwise.
struct OrientationSteps {
    bool mirror = false;
    int clockwiseTurns = 0; // 0..3
};

// The value itself for 1..8, else 1 (upright).
constexpr int normalOrientation(long value) {
    return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
}

constexpr OrientationSteps stepsOf(long orientation) {
    constexpr OrientationSteps kSteps[9] = {
        {false, 0}, // (unused)
        {false, 0}, // 1: upright
        {true, 0},  // 2: mirrored left-right
        {false, 2}, // 3: upside down
        {true, 2},  // 4: mirrored top-bottom
        {true, 3},  // 5: transposed
        {false, 1}, // 6: stored a quarter turn anticlockwise
        {true, 1},  // 7: transversed
        {false, 3}, // 8: stored a quarter turn clockwise
    };
    return kSteps[normalOrientation(orientation)];
}

// The orientation value whose steps are these (turns taken modulo 4).
constexpr int orientationOf(OrientationSteps steps) {
    const int turns = ((steps.clockwiseTurns % 4) + 4) % 4;
    for (int value = 1; value <= 8; ++value) {
        const OrientationSteps s = stepsOf(value);
        if (s.mirror == steps.mirror && s.clockwiseTurns == turns) {
            return value;
        }
    }
    return 1;
}

// The orientation that shows the picture as `orientation` does, then turned by a further
// `clockwiseTurns` quarter turns (negative: anticlockwise).
constexpr int turnedOrientation(long orientation, int clockwiseTurns) {
    OrientationSteps steps = stepsOf(orientation);
    steps.clockwiseTurns += clockwiseTurns;
    return orientationOf(steps);
}

// True when the upright picture's width is the stored height (an odd number of quarter turns).
constexpr bool swapsAxes(long orientation) {
    return stepsOf(orientation).clockwiseTurns % 2 == 1;
}

template <class T> struct StoredPixel {
    T x{};
    T y{};
};

// The stored pixel shown at (x, y) of the upright picture, rows counted from the top, for a
// stored picture `width` x `height` pixels. Undoes the steps: the turns anticlockwise, then the
// mirror. T is an integer type for whole pixels, or floating point for points between them.
template <class T>
constexpr StoredPixel<T> storedPixelOf(long orientation, T x, T y, T width, T height) {
    const OrientationSteps steps = stepsOf(orientation);
    // The picture's size after the mirror and each turn, undone from the last turn back.
    const bool swapped = steps.clockwiseTurns % 2 == 1;
    T shownWidth = swapped ? height : width, shownHeight = swapped ? width : height;
    for (int turn = 0; turn < steps.clockwiseTurns; ++turn) {
        // A clockwise turn took (x, y) of a W x H picture to (H - 1 - y, x) of an H x W one.
        const T before = y;
        y = shownWidth - 1 - x;
        x = before;
        const T w = shownWidth;
        shownWidth = shownHeight;
        shownHeight = w;
    }
    if (steps.mirror) {
        x = shownWidth - 1 - x;
    }
    return {x, y};
}

// How the stored picture's axes lie in the upright one: whether they swap, and whether the
// stored columns (x) and rows (y) run backwards along the upright axis they become.
struct StoredAxes {
    bool swapped = false;
    bool columnsReversed = false;
    bool rowsReversed = false;
};

constexpr StoredAxes storedAxesOf(long orientation) {
    // The upright top-left pixel of a 2 x 2 picture lies at the stored corner that tells both.
    const StoredPixel<int> corner = storedPixelOf<int>(orientation, 0, 0, 2, 2);
    return {swapsAxes(orientation), corner.x == 1, corner.y == 1};
}

} // namespace folvane
