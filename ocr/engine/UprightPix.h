// Leptonica pictures: a page's stored rows copied into one and turned upright.
#pragma once

#include <memory>

#include "ocr/PageImage.h"

struct Pix;

namespace folvane::ocr {

struct PixDeleter {
    void operator()(Pix *pix) const;
};
using PixPtr = std::unique_ptr<Pix, PixDeleter>;

// Largest side and area accepted: beyond any page a scanner or camera gives (a 1200-dpi A3
// scan is 14000 x 19900), so a hostile size cannot make recognition allocate gigabytes.
inline constexpr int kMaxSide = 32768;
inline constexpr long long kMaxPixels = 400LL * 1000 * 1000;

// The upright picture of `image`, its resolution set when known. Raises OcrError for a
// malformed description (no rows, a size of 0 or above the ceiling, rows shorter than the
// width, a depth other than 1 or 8) or when memory runs out.
PixPtr uprightPix(const PageImage &image);

} // namespace folvane::ocr
