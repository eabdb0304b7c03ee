// The option list of pdfw_load_image and pdfw_queue_image: blank-separated options, each at most
// once, in any order: "turns=N", the quarter turns clockwise the page is turned by after its own
// orientation, and, when the document corrects its pages, the corners of the sheet placed by
// hand ("corners=X1,Y1,...,X4,Y4"), and "crop=LEFT,TOP,RIGHT,BOTTOM", the part of the turned
// picture that is kept.
#pragma once

#include <optional>

#include "pdfw/core/ImageRequest.h"

namespace folvane::pdfw {

struct ImageOptions {
    CorrectionRequest correction;
    int quarterTurns = 0; // 0..3
    std::optional<CropRequest> crop;
};

// The page's options: correction off when `correcting` is false, else on, with the corners the
// options give. Raises PDFW_VALUE_ERROR for anything else (an unknown or repeated option, corners
// that are not eight finite numbers, corners without "correction", turns other than -3 to 3, a crop
// that is not four whole numbers).
ImageOptions imageOptions(const char *options, bool correcting);

} // namespace folvane::pdfw
