// PNG files for the engine's tests, written and read with libpng.
#pragma once

#include <string>

#include "tests/pdfw/PdfwTestSupport.h"

namespace pdfw_test {

struct PngSpec {
    int width = 16;
    int height = 8;
    int colourType = 2; // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    Bytes palette;      // red, green, blue per entry
    Bytes transparency; // tRNS as stored: palette alphas, or the 2- or 6-byte colour key
    Bytes iccProfile;   // written as iCCP (compressed by libpng)
};

// The PNG of `rows` (packed as PNG stores them, 16-bit samples big-endian, top row first).
Bytes makePng(const PngSpec &spec, const Bytes &rows);
// Bytes of one packed row.
int pngRowBytes(const PngSpec &spec);

// The data of every IDAT chunk of `png`, joined.
Bytes pngImageData(const Bytes &png);

// libpng's reading of `png` as 8-bit RGB, transparency composited over white.
Rgb readPng(const Bytes &png);

} // namespace pdfw_test
