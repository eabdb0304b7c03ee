// Pictures for test files and for comparing decodes: 8-bit samples, interleaved, top row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/support/Bytes.h"

namespace support {

struct Picture {
    int width = 0;
    int height = 0;
    int components = 0; // 1 grey, 2 grey + alpha, 3 RGB, 4 RGBA or CMYK
    Bytes samples;      // width * height * components

    std::size_t Index(int x, int y, int c) const {
        return (static_cast<std::size_t>(y) * width + x) * components + c;
    }
    uint8_t At(int x, int y, int c) const { return samples[Index(x, y, c)]; }
    uint8_t &At(int x, int y, int c) { return samples[Index(x, y, c)]; }
    // 0xRRGGBB of a pixel of a picture with three or more components.
    uint32_t Rgb(int x, int y) const;
};

// A picture of zeros.
Picture Blank(int width, int height, int components);
// An RGB picture of the given pixels (0xRRGGBB), top row first, `width` to a row.
Picture RgbPicture(int width, const std::vector<uint32_t> &pixels);
// Gradients across and down, a checkerboard and diagonal stripes (one kind per component), so
// that every channel, edge and block boundary is exercised; `seed` shifts every sample, for
// pictures that differ from each other.
Picture Pattern(int width, int height, int components, int seed = 0);
// White paper with a dark bar across its middle: a page that is plainly not blank.
Picture MarkedSheet(int width, int height, int components);
// One RGB colour (0xRRGGBB) all over.
Picture Solid(int width, int height, uint32_t rgb);
// Samples that do not compress: a file holding them grows with the pixel count.
Picture Noise(int width, int height, int components, uint32_t seed = 1);
// What a camera gives an encoder: smooth shading, hard-edged shapes, texture and sensor noise
// (RGB). For benchmarks, where the entropy coder's work should be realistic.
Picture Photo(int width, int height, int seed = 0);

// The largest difference of any sample; 256 when the pictures' shapes differ or are empty.
int MaxDifference(const Picture &a, const Picture &b);
// The first three components of each pixel (an RGBA picture without its alpha).
Picture WithoutAlpha(const Picture &picture);

} // namespace support
