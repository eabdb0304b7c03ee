// BMP files byte by byte: any header size, palette form, masks and pixel bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/support/Bytes.h"
#include "tests/support/Picture.h"

namespace support {

struct BmpFile {
    bool fileHeader = true;   // the 14-byte "BM" header
    int64_t pixelOffset = -1; // bfOffBits; -1: where the pixels are written
    uint32_t headerSize = 40; // 12 writes the OS/2 1.x core header
    int32_t width = 1;
    int32_t height = 1; // negative: top-down
    uint16_t planes = 1;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t imageSize = 0;
    int32_t ppmX = 0;
    int32_t ppmY = 0;
    uint32_t colorsUsed = 0;
    std::vector<uint32_t> palette; // 0x00RRGGBB; 3-byte entries after a 12-byte header
    std::vector<uint32_t> masks;   // inside a header of 52 bytes or more, else after it
    Bytes pixels;                  // exactly as stored in the file
};

Bytes MakeBmp(const BmpFile &bmp);

// Stored rows of a palette image: indices[y][x], row 0 written first, each row packed at
// `bits` per pixel (leftmost pixel most significant) and padded to 4 bytes.
Bytes PackIndexRows(const std::vector<std::vector<uint8_t>> &indices, int bits);

// A bottom-up 24-bit file of an RGB picture (the picture's top row stored last).
BmpFile BmpFileOf(const Picture &picture, int32_t pelsPerMeter = 2835);

} // namespace support
