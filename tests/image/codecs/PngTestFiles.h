// Test PNGs written through libpng's own writer, and libpng's own reading of them through its
// simplified interface: the independent result the decoder is compared with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CodecBytes.h"

struct PngPicture {
    uint32_t width = 0;
    uint32_t height = 0;
    int colorType = 0; // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    // Rows top first, packed as the file stores them (16-bit samples big-endian).
    Bytes rows;
    std::vector<uint8_t> palette; // red, green, blue per entry
    Bytes transparency;           // tRNS body as stored; empty: no chunk
    uint32_t pixelsPerMetre = 0;  // pHYs in metres when not 0
    std::string text;             // a compressed text chunk when not empty

    size_t RowBytes() const;
};

// A picture of the given kind whose samples follow a pattern that differs per pixel, row and
// channel; palette pictures get a palette of 2^bits distinct colours.
PngPicture PatternPicture(uint32_t width, uint32_t height, int colorType, int bitDepth);

Bytes WritePng(const PngPicture &picture);

// libpng's reading through its simplified interface: 8-bit RGBA, rows top first, 16-bit
// samples taken as already encoded (no gamma conversion). Empty when libpng refuses.
Bytes ReadPngAsRgba(const Bytes &png);
