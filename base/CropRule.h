// What a crop of a page may be: a rectangle inside the picture as it is shown (after its
// orientation and the user's turns), at least kMinCropSide pixels each way. The window's
// editor, folvane-pdf and the PDF engine all judge a crop by this one rule.
#pragma once

#include <algorithm>

#include "base/Orientation.h"

namespace folvane {

// A crop narrower or lower than this is refused: too small to be a page anyone meant.
inline constexpr long kMinCropSide = 16;

enum class CropFault {
    None,
    OutsideImage, // an edge lies beyond the picture, or left/top is not before right/bottom
    TooSmall,     // inside, but narrower or lower than kMinCropSide
};

// Whether the rectangle left..right, top..bottom (right and bottom just past it) may crop a
// picture shown `width` x `height` pixels.
constexpr CropFault cropFaultOf(long long left, long long top, long long right, long long bottom,
                                long long width, long long height) {
    if (left < 0 || top < 0 || right > width || bottom > height || left >= right || top >= bottom) {
        return CropFault::OutsideImage;
    }
    if (right - left < kMinCropSide || bottom - top < kMinCropSide) {
        return CropFault::TooSmall;
    }
    return CropFault::None;
}

// A rectangle of stored pixels: x, y its top-left, then its size.
struct StoredArea {
    long long x = 0;
    long long y = 0;
    long long width = 0;
    long long height = 0;
    bool operator==(const StoredArea &) const = default;
};

// The stored pixels behind the rectangle left..right, top..bottom of the picture shown upright
// by `orientation` (1..8), for a stored picture `storedWidth` x `storedHeight`. The rectangle
// must be inside the shown picture.
constexpr StoredArea storedAreaOf(long orientation, long long left, long long top, long long right,
                                  long long bottom, long long storedWidth, long long storedHeight) {
    const StoredPixel<long long> first =
        storedPixelOf<long long>(orientation, left, top, storedWidth, storedHeight);
    const StoredPixel<long long> last =
        storedPixelOf<long long>(orientation, right - 1, bottom - 1, storedWidth, storedHeight);
    const long long x = std::min(first.x, last.x);
    const long long y = std::min(first.y, last.y);
    return {x, y, std::max(first.x, last.x) - x + 1, std::max(first.y, last.y) - y + 1};
}

} // namespace folvane
