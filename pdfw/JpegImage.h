// Prepares a JPEG file as an image XObject: its bytes unchanged (DCTDecode) when PDF can carry
// them, or losslessly re-coded when they are arithmetic-coded.
#pragma once

#include <string>

#include "pdfw/ImageLoader.h"
#include "pdfw/InputFile.h"

namespace pdfw {

struct JpegInfo;

// The image dictionary entries (without /Length) for a JPEG carried as DCTDecode.
// `colorTransform` 0 or 1 overrides what the JPEG's own markers say about YCbCr.
std::string jpegImageDictionary(const JpegInfo &info, int colorTransform = -1);

PreparedImage prepareJpeg(const InputFile &file, const ImageRequest &request);

} // namespace pdfw
