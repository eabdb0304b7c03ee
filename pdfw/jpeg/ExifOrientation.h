// The Orientation tag of an EXIF block.
#pragma once

#include <cstddef>

namespace folvane::pdfw {

// `tiff` points at the TIFF header that follows "Exif\0\0" in an APP1 segment. Returns the
// orientation 1..8 of IFD0, or 1 when the block is absent, damaged or holds another value:
// folvane::ExifOrientation's reading, the one the preview uses.
int exifOrientation(const unsigned char *tiff, std::size_t size);

} // namespace folvane::pdfw
