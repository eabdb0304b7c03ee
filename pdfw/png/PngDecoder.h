// Decodes a PNG file with libpng into the layout of a PDF image.
#pragma once

#include <vector>

#include "pdfw/core/InputFile.h"
#include "pdfw/core/Memory.h"
#include "pdfw/raster/RasterImage.h"

namespace pdfw {

struct DecodedPng {
    RasterImage raster; // colorSpace left empty: the caller chooses it (device or profile)
    bool indexed = false;
    std::vector<unsigned char> palette; // red, green, blue per entry, for indexed pictures
};

// Samples are kept as they are (grey of 1 to 16 bits, RGB, palette indices), interlacing is
// undone, alpha and tRNS transparency become a separate alpha plane, 16-bit samples are
// rounded to 8 bits below PDF 1.5; no gamma or colour correction is applied. Raises
// PDFW_SYNTAX_ERROR with libpng's reason for a damaged file, PDFW_OVERFLOW_ERROR above the
// size ceiling.
DecodedPng decodePng(const ByteSource &file, int pdfMinor, const MemoryProcs &memory);

} // namespace pdfw
