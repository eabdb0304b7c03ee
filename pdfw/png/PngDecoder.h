// Decodes a PNG file with libpng into the layout of a PDF image.
// The preview has its own libpng session (image/codecs/PngReadSession), apart on purpose: the
// two libraries report failures under different contracts and share no code.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "pdfw/core/InputFile.h"
#include "pdfw/core/Memory.h"
#include "pdfw/raster/RasterImage.h"

namespace folvane::pdfw {

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

// Receives one band of the picture: its rows in the layout decodePng gives (`height` rows).
using PngBandTaker = std::function<void(RasterImage &band)>;

// The same decoding about `bandBytes` of rows at a time (0: the whole picture at once), each
// band handed to `take` in order and dropped after; `header` gets the picture's layout (no
// samples), whether it is indexed and its palette. An interlaced picture read in bands is put
// together in a file with no name in `folder` ("": the temporary folder) first.
void decodePngBands(const ByteSource &file, int pdfMinor, const MemoryProcs &memory,
                    std::size_t bandBytes, const std::string &folder, const PngBandTaker &take,
                    DecodedPng &header);

} // namespace folvane::pdfw
