// Writes a JPEG file as an image XObject: its bytes unchanged (DCTDecode) when PDF can carry
// them, losslessly re-coded when they are arithmetic-coded, and rewritten from their
// coefficients when the markers are damaged but libjpeg reads the picture whole.
#pragma once

#include <string>

#include "pdfw/ImageLoader.h"
#include "pdfw/InputFile.h"

namespace pdfw {

struct JpegInfo;

// The image dictionary entries (without /Length) for a JPEG carried as DCTDecode, in colour
// space `colourSpace` ("" for the device space of its components).
// `colorTransform` 0 or 1 overrides what the JPEG's own markers say about YCbCr.
std::string jpegImageDictionary(const JpegInfo &info, int colorTransform = -1,
                                const std::string &colourSpace = "");

// The colour space for a JPEG's image dictionary: its embedded profile's when the request has
// the document's profiles and the profile is sound, else "" (device colour), noting why.
std::string jpegColourSpace(ObjectWriter &writer, const ImageRequest &request,
                            const std::vector<unsigned char> &profile,
                            const std::string &profileProblem, int components, std::string &notes);

LoadedImage writeJpeg(ObjectWriter &writer, const InputFile &file, const ImageRequest &request);

} // namespace pdfw
