// A JPEG cut to a rectangle without decoding its pixels: the blocks inside are copied as they
// are (TurboJPEG's lossless transform). The kept data start at the block grid line at or before
// the rectangle's left and top and end with the rectangle's right and bottom, so the few
// columns and rows before the rectangle are left for the page to clip.
#pragma once

#include <cstddef>
#include <string>

#include "base/CropRule.h"
#include "pdfw/core/Memory.h"
#include "pdfw/jpeg/JpegStructure.h"

namespace folvane::pdfw {

struct CroppedJpeg {
    Buffer jpeg;
    folvane::StoredArea shown; // the rectangle inside the cropped picture
};

// Cuts the JPEG `data` (`size` bytes, described by `info`) to `area` of its stored pixels. No
// marker segment is kept (EXIF and its thumbnail, comments, the profile: the caller places the
// picture and writes its profile from `info`). Raises PDFW_OVERFLOW_ERROR when the picture's
// coefficients exceed the engine's ceiling, PDFW_TYPE_ERROR for a JPEG that cannot be cut
// without loss, PDFW_SYNTAX_ERROR for data the transform cannot read.
CroppedJpeg cropJpeg(const unsigned char *data, std::size_t size, const JpegInfo &info,
                     const folvane::StoredArea &area, const std::string &path,
                     const MemoryProcs &memory);

} // namespace folvane::pdfw
