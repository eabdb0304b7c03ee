// Where an image's stored pixels go on the page. Orientation values are those of the EXIF
// and TIFF Orientation tag (1 upright ... 8); anything else counts as upright.
#pragma once

#include <cstdint>

#include "base/CropRule.h"

namespace folvane::pdfw {

struct Matrix {
    float a, b, c, d, e, f;
};

// 1 for 1..8, else 1.
int normalOrientation(long value);

// True when the orientation turns the picture by a quarter (5 to 8): width and height swap.
bool swapsAxes(int orientation);

// The orientation that shows the picture as `orientation` does, then turned `quarterTurns`
// quarter turns clockwise.
int turnedOrientation(int orientation, int quarterTurns);

// The matrix that maps the image's unit square (stored pixels, first row on top) onto the
// page so that the picture shows upright with its lower left corner at (x, y) and its upright
// width and height of one point per pixel multiplied by `scale`.
Matrix placementMatrix(int orientation, std::uint32_t width, std::uint32_t height, float x, float y,
                       float scale);

// The placement of a picture of which only `shown` (stored pixels) is to be seen: the matrix
// that puts that part upright with its lower left corner at (x, y), one point per pixel times
// `scale`, and the upright size of the part on the page, which the caller clips to.
struct ShownPlacement {
    Matrix matrix;
    float width;
    float height;
};
ShownPlacement shownPlacement(int orientation, std::uint32_t width, std::uint32_t height,
                              const folvane::StoredArea &shown, float x, float y, float scale);

} // namespace folvane::pdfw
