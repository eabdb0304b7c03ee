// The JPEG format's record: one page, told by its start-of-image marker.
#pragma once

#include "pdfw/core/ImageFormat.h"

namespace folvane::pdfw {

extern const ImageFormat kJpegFormat;

} // namespace folvane::pdfw
