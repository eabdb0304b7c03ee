// The option list of pdfw_load_image and pdfw_queue_image: entries separated by blanks, each
// "corners=X1,Y1,...,X4,Y4" (the sheet's corners placed by hand, when the document corrects its
// pages) or "crop=LEFT,TOP,RIGHT,BOTTOM" (the part of the upright picture that is kept).
#pragma once

#include <optional>

#include "pdfw/core/ImageRequest.h"

namespace pdfw {

struct ImageOptions {
    CorrectionRequest correction;
    std::optional<CropRequest> crop;
};

// The page's options; correction is off when `correcting` is false, else on, with the corners
// the options give. Raises PDFW_VALUE_ERROR for anything else (an unknown option, one given
// twice, corners that are not eight finite numbers, corners without "correction", a crop that
// is not four whole numbers).
ImageOptions imageOptions(const char *options, bool correcting);

} // namespace pdfw
