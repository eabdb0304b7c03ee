// Connected groups of dark pixels on a page: what the blank-page rule weighs one by one.
#pragma once

#include <cstdint>
#include <vector>

namespace folvane::blank {

// How dark a pixel stands against its paper.
enum Strength : uint8_t { kPaper = 0, kFaint = 1, kStrong = 2 };

struct Mark {
    int left = 0; // the bounding box, right and bottom inclusive
    int top = 0;
    int right = 0;
    int bottom = 0;
    long area = 0;         // pixels
    bool onBorder = false; // a pixel of it lies in the border band
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

// The groups of pixels of at least kFaint strength, eight-connected, that hold a kStrong pixel,
// in a width x height map of strengths (rows top first). Pixels less than `bandX` from the left
// or right edge, or `bandY` from the top or bottom, are the border band.
std::vector<Mark> findMarks(const std::vector<uint8_t> &strengths, int width, int height, int bandX,
                            int bandY);

} // namespace folvane::blank
