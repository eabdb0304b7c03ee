// Prepares a TIFF page as an image XObject: bilevel CCITT data passed through where PDF can
// carry it, every other page decoded with libtiff and Flate-compressed. Lossless always,
// except that 16-bit samples become 8-bit below PDF 1.5.
#pragma once

#include "pdfw/ImageLoader.h"
#include "pdfw/InputFile.h"

namespace pdfw {

PreparedImage prepareTiff(const InputFile &file, const ImageRequest &request);

} // namespace pdfw
