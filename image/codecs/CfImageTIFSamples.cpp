// Sample unpacking for the strip and tile path of CfImageTIF.
//
// libtiff delivers 16-, 24- and 32-bit samples in host (little-endian) byte order and every
// other width as a bit stream, most significant bit first.
#include "image/codecs/CfImageTIF.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "image/codecs/CfImageTIFPage.h"

namespace {

// The value of the `bits`-wide field (at most 25 bits) starting at bit `pos` of src, most
// significant bit first. Reads only the bytes the field covers.
uint32_t ReadBitField(const uint8_t *src, uint64_t pos, uint32_t bits) {
    const uint64_t first = pos / 8;
    const uint64_t last = (pos + bits - 1) / 8;
    uint32_t v = 0;
    for (uint64_t i = first; i <= last; ++i) {
        v = (v << 8) | src[i];
    }
    const uint32_t trailing = static_cast<uint32_t>((last + 1) * 8 - (pos + bits));
    return (v >> trailing) & ((1u << bits) - 1);
}

uint8_t Gamma(double v) {
    v = v > 0.00304 ? 1.055 * std::pow(v, 0.41667) - 0.055 : 12.92 * v;
    return static_cast<uint8_t>(std::clamp(v * 255.0, 0.0, 255.0));
}

} // namespace

void CfImageTIF::ExpandSamples(uint8_t *dst, const uint8_t *src, uint32_t count, uint32_t bits) {
    if (bits == 0) {
        std::memset(dst, 0, count);
        return;
    }
    if (bits == 8) {
        std::memcpy(dst, src, count);
        return;
    }
    if (bits >= 32) {
        // The most significant byte of each little-endian 32-bit word.
        for (uint32_t x = 0; x < count; ++x) {
            dst[x] = src[size_t{x} * 4 + 3];
        }
        return;
    }
    if (bits == 16 || bits == 24) {
        const uint32_t step = bits / 8;
        for (uint32_t x = 0; x < count; ++x) {
            dst[x] = src[size_t{x} * step + step - 1];
        }
        return;
    }
    const uint32_t width = std::min(bits, 8u);
    for (uint32_t x = 0; x < count; ++x) {
        // Below 8 bits the whole sample; above, its top 8 bits.
        dst[x] = static_cast<uint8_t>(ReadBitField(src, uint64_t{x} * bits, width));
    }
}

void CfImageTIF::ExpandPaletteSamples(uint8_t *dst, const uint8_t *src, uint32_t count,
                                      uint32_t bits, const RGBQUAD *palette) {
    for (uint32_t x = 0; x < count; ++x) {
        uint32_t index;
        if (bits == 16) {
            index = src[2 * size_t{x}] | (uint32_t{src[2 * size_t{x} + 1]} << 8);
        } else if (bits == 24) {
            const uint8_t *p = src + 3 * size_t{x};
            index = p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16);
        } else {
            index = ReadBitField(src, uint64_t{x} * bits, bits);
        }
        const RGBQUAD &entry = palette[index];
        dst[3 * size_t{x}] = entry.rgbBlue;
        dst[3 * size_t{x} + 1] = entry.rgbGreen;
        dst[3 * size_t{x} + 2] = entry.rgbRed;
    }
}

void CfImageTIF::CopyTileRows(uint8_t *dst, const uint8_t *src, uint32_t rows, size_t bytes,
                              size_t dstSkip, size_t srcSkip) {
    for (uint32_t r = 0; r < rows; ++r) {
        std::memcpy(dst, src, bytes);
        dst += bytes + dstSkip;
        src += bytes + srcSkip;
    }
}

namespace tiffcodec {

RGBQUAD LabToRgb(uint8_t lightness, int8_t a, int8_t b) {
    const double f = (lightness * 0.3921568627450981 + 16) * 0.008620689655172414;
    const double y = f * f * f;
    const double fx = a * 0.002 + f;
    const double fz = f - b * 0.005;
    const double x = fx * fx * fx * 0.95047;
    const double z = fz * fz * fz * 1.0883;
    const double red = 3.240479 * x - 1.53715 * y - 0.498535 * z;
    const double green = 1.875992 * y - 0.969256 * x + 0.041556 * z;
    const double blue = 0.055648 * x - 0.204043 * y + 1.057311 * z;
    RGBQUAD colour{};
    colour.rgbRed = Gamma(red);
    colour.rgbGreen = Gamma(green);
    colour.rgbBlue = Gamma(blue);
    return colour;
}

} // namespace tiffcodec
