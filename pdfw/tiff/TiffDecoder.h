// Decodes a TIFF page into the layout of a PDF image.
#pragma once

#include <string>

#include "pdfw/core/Memory.h"
#include "pdfw/raster/RasterImage.h"
#include "pdfw/tiff/TiffFile.h"

namespace pdfw {

// Samples that PDF can hold are kept as they are (grey 1/2/4/8 bits, RGB, CMYK, palette
// indices, alpha split off); 16-bit samples stay 16-bit from PDF 1.5 and are rounded to the
// nearest 8-bit value below it; everything else (YCbCr, Lab, separate planes, ...) goes
// through libtiff's RGBA reader. Raises PDFW_SYNTAX_ERROR for damaged data,
// PDFW_TYPE_ERROR for a page libtiff cannot turn into colour, PDFW_OVERFLOW_ERROR above
// the size ceiling.
RasterImage decodeTiff(TiffFile &tiff, int pdfMinor, const MemoryProcs &memory);

// Whether decodeTiff can turn the page into a picture, judged from its tags alone; when not,
// libtiff's reason.
bool tiffDecodable(TiffFile &tiff, Problem &reason);

} // namespace pdfw
