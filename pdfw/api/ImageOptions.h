// The option list of pdfw_load_image and pdfw_queue_image: empty, or, when the document corrects
// its pages, the corners of the sheet placed by hand ("corners=X1,Y1,...,X4,Y4").
#pragma once

#include "pdfw/core/ImageRequest.h"

namespace pdfw {

// The page's correction: off when `correcting` is false, else on, with the corners the options
// give. Raises PDFW_VALUE_ERROR for anything else (an unknown option, corners that are not eight
// finite numbers, corners without "correction").
CorrectionRequest correctionOptions(const char *options, bool correcting);

} // namespace pdfw
