// Run-length encoded bitmap pixels (BI_RLE8 and BI_RLE4) decoded into a palette image.
#pragma once

#include "image/CfImage.h"

namespace folvane::image::bmp_rle {

enum class Kind { Rle8, Rle4 };

// Reads runs from the stream's position into the image's rows, bottom row first, until the
// end-of-bitmap code, the end of the stream or the last row is passed. Every run, absolute
// run and delta is clipped to the image: what falls outside a row or above the top row is
// read and dropped. Pixels no run reaches keep their value.
void decode(CfStream &stream, CfImage &image, Kind kind);

} // namespace folvane::image::bmp_rle
