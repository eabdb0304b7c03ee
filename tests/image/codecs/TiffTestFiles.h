// Test TIFFs written through libtiff, and pixel access in top-down terms.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <tiffio.h>

#include "image/CfImage.h"

struct TiffPage {
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t samplesPerPixel = 1;
    uint16_t bitsPerSample = 8;
    uint16_t photometric = PHOTOMETRIC_MINISBLACK;
    uint16_t compression = COMPRESSION_NONE;
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint32_t rowsPerStrip = 0; // 0: the tag is left out (one strip)
    uint32_t tileWidth = 0;    // tiled when both are set
    uint32_t tileLength = 0;
    uint16_t orientation = 0; // 0: the tag is left out
    std::vector<uint16_t> extraSamples;
    std::vector<uint16_t> colorMap; // reds, then greens, then blues: 3 * 2^bits values
    uint16_t resolutionUnit = 0;    // 0: the tag is left out
    std::optional<float> xResolution, yResolution, xPosition, yPosition;
    int jpegQuality = 0; // JPEG compression: quality, with RGB colour mode for YCbCr
    // Rows top first, each packed as the file stores it (16-bit samples in host order).
    std::vector<uint8_t> data;

    size_t RowBytes() const { return (size_t{width} * samplesPerPixel * bitsPerSample + 7) / 8; }
};

// A fresh path in the test's temporary folder.
std::string TiffTempPath(const std::string& name);

// Writes the pages into one file; fails the current test when libtiff refuses.
// mode "w" writes the host's byte order, "wb" big-endian.
void WriteTiff(const std::string& path, const std::vector<TiffPage>& pages, const char* mode = "w");
void WriteTiff(const std::string& path, const TiffPage& page, const char* mode = "w");

// Decodes path through CfImage::Load with FormatUnknown, as the preview does.
bool LoadTiff(CfImage& image, const std::string& path, int32_t frame = 0);

// The pixel at column x of row `row` counted from the top (the bitmap counts from the bottom).
RGBQUAD PixelFromTop(const CfImage& image, uint32_t x, uint32_t row);
uint8_t AlphaFromTop(const CfImage& image, uint32_t x, uint32_t row);

// Byte strings of the whole file, and the file rewritten from them.
std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
