// The PNG format's record: one page, told by its eight-byte signature.
#pragma once

#include "pdfw/core/ImageFormat.h"

namespace folvane::pdfw {

extern const ImageFormat kPngFormat;

} // namespace folvane::pdfw
