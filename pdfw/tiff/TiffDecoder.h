// Decodes a TIFF page into the layout of a PDF image.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "pdfw/core/Memory.h"
#include "pdfw/raster/RasterImage.h"
#include "pdfw/tiff/TiffFile.h"

namespace folvane::pdfw {

// Samples that PDF can hold are kept as they are (grey 1/2/4/8 bits, RGB, CMYK, palette
// indices, alpha split off); 16-bit samples stay 16-bit from PDF 1.5 and are rounded to the
// nearest 8-bit value below it; everything else (YCbCr, Lab, separate planes, ...) goes
// through libtiff's RGBA reader. Raises PDFW_SYNTAX_ERROR for damaged data,
// PDFW_TYPE_ERROR for a page libtiff cannot turn into colour, PDFW_OVERFLOW_ERROR above
// the size ceiling.
RasterImage decodeTiff(TiffFile &tiff, int pdfMinor, const MemoryProcs &memory);

// Receives one band of a page: its rows in the layout decodeTiff gives (`height` rows).
using BandTaker = std::function<void(RasterImage &band)>;

// The same decoding a band of about `bandBytes` of stored rows at a time (fitted to the strips
// or tiles; 0: the whole page at once), each band handed to `take` in order and dropped after.
// Every band carries the picture's layout; a band's alpha is dropped by nobody here (see
// RasterImage::dropOpaqueAlpha).
void decodeTiffBands(TiffFile &tiff, int pdfMinor, const MemoryProcs &memory, std::size_t bandBytes,
                     const BandTaker &take);

// Whether decodeTiff can turn the page into a picture, judged from its tags alone; when not,
// libtiff's reason.
bool tiffDecodable(TiffFile &tiff, Problem &reason);

} // namespace folvane::pdfw
