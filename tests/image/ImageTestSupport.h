// Test helpers that read and write pixels straight from the packed bytes, independently of
// the accessors under test.
#pragma once

#include <cstdint>

#include "image/CfImage.h"

namespace imagetest {

// Palette index of pixel (x, y) by the packing rules: leftmost pixel in the high bits.
inline int RawIndex(const CfImage &image, int x, int y) {
    const uint8_t *row =
        image.block + 40 + image.header.biClrUsed * 4 + size_t(y) * image.info.rowStride;
    switch (image.header.biBitCount) {
    case 1:
        return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4:
        return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15;
    default:
        return row[x];
    }
}

inline void SetRawIndex(CfImage &image, int x, int y, int value) {
    uint8_t *row = image.block + 40 + image.header.biClrUsed * 4 + size_t(y) * image.info.rowStride;
    switch (image.header.biBitCount) {
    case 1:
        row[x / 8] = uint8_t((row[x / 8] & ~(0x80 >> (x % 8))) | ((value & 1) << (7 - x % 8)));
        break;
    case 4:
        row[x / 2] = x % 2 == 0 ? uint8_t((row[x / 2] & 0x0F) | (value & 15) << 4)
                                : uint8_t((row[x / 2] & 0xF0) | (value & 15));
        break;
    default:
        row[x] = uint8_t(value);
        break;
    }
}

// Blue, green, red of a 24-bit pixel packed into one number 0xRRGGBB.
inline uint32_t RawColour(const CfImage &image, int x, int y) {
    const uint8_t *p = image.block + 40 + size_t(y) * image.info.rowStride + size_t(x) * 3;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

inline void SetRawColour(CfImage &image, int x, int y, uint32_t rgb) {
    uint8_t *p = image.block + 40 + size_t(y) * image.info.rowStride + size_t(x) * 3;
    p[0] = uint8_t(rgb);
    p[1] = uint8_t(rgb >> 8);
    p[2] = uint8_t(rgb >> 16);
}

// A pixel value that differs between neighbours, for an image of the given depth.
inline uint32_t Pattern(int bits, int x, int y) {
    const uint32_t v = uint32_t(x * 7 + y * 13 + x * y);
    switch (bits) {
    case 1:
        return (x + y * 3 + (x * y) / 2) % 2;
    case 4:
        return v % 16;
    case 8:
        return v % 256;
    default:
        return (v * 2654435761u) & 0xFFFFFF;
    }
}

// An image of the given size and depth whose pixels follow Pattern.
inline void FillPattern(CfImage &image) {
    const int bits = image.header.biBitCount;
    for (int y = 0; y < image.header.biHeight; ++y) {
        for (int x = 0; x < image.header.biWidth; ++x) {
            if (bits == 24) {
                SetRawColour(image, x, y, Pattern(bits, x, y));
            } else {
                SetRawIndex(image, x, y, int(Pattern(bits, x, y)));
            }
        }
    }
}

inline uint32_t RawPixel(const CfImage &image, int x, int y) {
    return image.header.biBitCount == 24 ? RawColour(image, x, y) : uint32_t(RawIndex(image, x, y));
}

} // namespace imagetest
