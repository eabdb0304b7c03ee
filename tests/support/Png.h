// PNG files written through libpng, and libpng's own decode as the reference a decode or a
// rendered page is compared with.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/Bytes.h"
#include "tests/support/Picture.h"

namespace support {

enum class PngColour { Grey = 0, Rgb = 2, Palette = 3, GreyAlpha = 4, Rgba = 6 };

struct PngImage {
    uint32_t width = 0;
    uint32_t height = 0;
    PngColour colour = PngColour::Rgb;
    int bitDepth = 8;
    bool interlaced = false;       // Adam7
    std::vector<uint32_t> palette; // 0xRRGGBB entries (Palette)
    // tRNS when not empty: the alpha of each palette entry (Palette), else the transparent
    // colour as 16-bit big-endian samples (2 bytes for grey, 6 for RGB).
    Bytes transparency;
    Bytes iccProfile; // an iCCP chunk when not empty
    // More chunks {type, body}, written as given just before the image data (tEXt, pHYs, a
    // tRNS libpng would refuse, ...).
    std::vector<std::pair<std::string, Bytes>> chunks;
    // Rows top first, packed as the file stores them (16-bit samples big-endian).
    Bytes data;

    int Channels() const;
    std::size_t RowBytes() const { return (std::size_t{width} * Channels() * bitDepth + 7) / 8; }
};

// An 8-bit image of the picture: grey, grey + alpha, RGB or RGBA by its components.
PngImage PngImageOf(const Picture &picture);

// The image as a PNG file; throws std::runtime_error when libpng refuses.
Bytes MakePng(const PngImage &image);

// Writes a non-interlaced image whose rows come from `rows` (image.data is not used; each row
// packed as the file stores it) straight into the file at path, so that an image of any size
// costs one row of memory. Fastest compression, every row filtered by Sub. Throws
// std::runtime_error when libpng refuses or the file cannot be written.
void WritePngInBands(const std::string &path, const PngImage &image,
                     const std::function<void(uint32_t y, uint8_t *row)> &rows);

// libpng's decode to 8-bit RGBA (4 components): samples as stored (16-bit ones give their high
// byte, no gamma applied), palettes and transparency expanded, alpha 255 where the file has
// none. An empty picture when libpng cannot read the file.
Picture DecodePng(const Bytes &png);

} // namespace support
