// The TIFF format's record: classic and big TIFF in either byte order, a page per directory.
#pragma once

#include "pdfw/core/ImageFormat.h"

namespace folvane::pdfw {

extern const ImageFormat kTiffFormat;

} // namespace folvane::pdfw
