// Test support for the JPEG decoder and EXIF reader: JPEG files made through libjpeg, an
// independent reference decode through plain libjpeg calls, and decoding bytes through the
// image library by way of a temporary file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

class CfImage;

namespace jpegtest {

using Bytes = std::vector<uint8_t>;

struct EncodeOptions {
    int width = 37;
    int height = 29;
    // Input colour space: JCS_GRAYSCALE, JCS_RGB or JCS_CMYK.
    J_COLOR_SPACE input = JCS_RGB;
    // Colour space in the file; JCS_UNKNOWN keeps libjpeg's default for the input.
    J_COLOR_SPACE file = JCS_UNKNOWN;
    // Sampling factors of the first component (the others stay 1x1); 0 keeps the default.
    int hSampling = 0;
    int vSampling = 0;
    bool progressive = false;
    int restartRows = 0;
    int quality = 85;
    bool writeJfif = true;
    bool writeAdobe = true; // libjpeg's default for CMYK and YCCK files
    int densityUnit = 0;
    int xDensity = 1;
    int yDensity = 1;
    // When not empty: every pixel gets these samples instead of the test pattern.
    std::vector<uint8_t> fill;
    // Markers written right after the JFIF header, in order: {marker code, payload}.
    std::vector<std::pair<int, Bytes>> markers;
};

// A picture with gradients, stripes and a checkerboard, so that every channel, edge and
// block boundary is exercised.
Bytes TestPattern(int width, int height, int components);

Bytes Encode(const EncodeOptions &options);

struct Reference {
    int width = 0;
    int height = 0;
    int components = 0;               // samples per pixel as the library delivered them
    Bytes pixels;                     // top row first, width * components bytes a row
    std::vector<uint8_t> colormap[3]; // filled when quantized
    bool ok = false;
};

struct ReferenceOptions {
    bool grayscale = false;
    int scaleDenom = 1;
    int quantizeColors = 0; // 0: no quantization
    bool twoPass = true;
    bool fancyUpsampling = true;
};

// Decodes with plain libjpeg calls from memory, default settings unless asked otherwise.
Reference Decode(const Bytes &jpeg, const ReferenceOptions &options = {});

// Decodes through the image library (CfImage::Decode over a temporary file).
bool DecodeBytes(CfImage &image, const Bytes &bytes, int32_t hint);

// A temporary file holding the bytes, positioned at its start; closed by the caller.
FILE *TempFileWith(const Bytes &bytes);

// Expected 24-bit stored pixel (blue, green, red) of the reference at (x, y), y from the top.
void ExpectedBgr(const Reference &ref, int x, int y, uint8_t out[3]);

// Index of the first (marker, payload) segment with this marker code in a JPEG, or npos.
size_t FindMarker(const Bytes &jpeg, int marker);

} // namespace jpegtest
