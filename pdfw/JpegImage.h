// Writes a JPEG file as an image XObject: its bytes unchanged (DCTDecode) when PDF can carry
// them, or losslessly re-coded when they are arithmetic-coded.
#pragma once

#include "pdfw/ImageLoader.h"
#include "pdfw/InputFile.h"

namespace pdfw {

LoadedImage writeJpeg(ObjectWriter& writer, const InputFile& file, const ImageRequest& request);

} // namespace pdfw
