// Test helpers of the image library: decoding bytes through a real stdio stream, pixels in
// top-down terms, and pixels read and written straight from the packed bytes, independently of
// the accessors under test.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "image/CfImage.h"
#include "image/CfStdioStream.h"
#include "tests/support/Files.h"

namespace imagetest {

// Runs decoder.Decode over a stdio stream on the bytes; the stream starts at offset `start`
// (bytes before it are a prefix the decoder must not read as its own).
template <class Decoder>
bool DecodeBytesAt(Decoder &decoder, const support::Bytes &bytes, long start) {
    FILE *file = support::OpenBytes(bytes);
    std::fseek(file, start, SEEK_SET);
    bool decoded = false;
    {
        CfStdioStream stream(file);
        decoded = decoder.Decode(&stream);
    }
    std::fclose(file);
    return decoded;
}

template <class Decoder> bool DecodeBytes(Decoder &decoder, const support::Bytes &bytes) {
    return DecodeBytesAt(decoder, bytes, 0);
}

// CfImage::Decode with a format hint over the same kind of stream.
inline bool DecodeWithHint(CfImage &image, const support::Bytes &bytes, int32_t hint) {
    FILE *file = support::OpenBytes(bytes);
    const bool decoded = image.DecodeFile(file, hint);
    std::fclose(file);
    return decoded;
}

// CfImage::Load of a file with FormatUnknown, as the preview does; frame picks the page.
inline bool LoadFile(CfImage &image, const std::string &path, int32_t frame = 0) {
    image.info.frame = frame;
    return image.Load(path.c_str(), FormatUnknown);
}

// Colour of pixel (x, y), y counted from the bottom row, as blue, green, red, alpha (255 when
// the image has no alpha channel).
struct Bgra {
    uint8_t b, g, r, a;
    bool operator==(const Bgra &) const = default;
};
inline Bgra PixelAt(const CfImage &image, int32_t x, int32_t y) {
    const RGBQUAD c = image.PixelColorAt(x, y, false);
    const uint8_t a = image.HasAlphaChannel() ? *image.AlphaPointer(x, y) : 255;
    return Bgra{c.rgbBlue, c.rgbGreen, c.rgbRed, a};
}

// The pixel at column x of row `row` counted from the top (the bitmap counts from the bottom).
inline RGBQUAD PixelFromTop(const CfImage &image, uint32_t x, uint32_t row) {
    return image.PixelColorAt(static_cast<int32_t>(x),
                              static_cast<int32_t>(image.GetHeight() - 1 - row), false);
}
inline uint8_t AlphaFromTop(const CfImage &image, uint32_t x, uint32_t row) {
    return image.AlphaAtUnguarded(static_cast<int32_t>(x),
                                  static_cast<int32_t>(image.GetHeight() - 1 - row));
}

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
inline uint32_t PatternValue(int bits, int x, int y) {
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

// An image of the given size and depth whose pixels follow PatternValue.
inline void FillPattern(CfImage &image) {
    const int bits = image.header.biBitCount;
    for (int y = 0; y < image.header.biHeight; ++y) {
        for (int x = 0; x < image.header.biWidth; ++x) {
            if (bits == 24) {
                SetRawColour(image, x, y, PatternValue(bits, x, y));
            } else {
                SetRawIndex(image, x, y, int(PatternValue(bits, x, y)));
            }
        }
    }
}

inline uint32_t RawPixel(const CfImage &image, int x, int y) {
    return image.header.biBitCount == 24 ? RawColour(image, x, y) : uint32_t(RawIndex(image, x, y));
}

} // namespace imagetest
