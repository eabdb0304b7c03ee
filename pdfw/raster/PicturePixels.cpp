#include "pdfw/raster/PicturePixels.h"

#include <algorithm>

#include "pdfw/core/PdfwError.h"
#include "pdfw/raster/Samples.h"

namespace folvane::pdfw {

namespace {

// One pixel's colour (`out` has `channels` bytes) from the row's samples.
void colourAt(const RasterImage &raster, const unsigned char *row, std::uint32_t x,
              const std::vector<unsigned char> *palette, int channels, unsigned char *out) {
    const int bits = raster.bitsPerComponent;
    if (palette) {
        std::size_t entry = 3 * std::size_t{indexAt(row, x, bits)};
        for (int c = 0; c < 3; ++c) {
            out[c] = entry + 2 < palette->size() ? (*palette)[entry + c] : 0;
        }
        return;
    }
    const int components = raster.components;
    unsigned s[4] = {};
    for (int c = 0; c < components && c < 4; ++c) {
        s[c] = sampleAt(row, std::size_t{x} * components + c, bits);
        if (raster.inverted) {
            s[c] = 255 - s[c];
        }
    }
    if (components == 4) { // CMYK: what the inks leave of white paper
        for (int c = 0; c < 3; ++c) {
            out[c] = static_cast<unsigned char>((255u - s[c]) * (255u - s[3]) / 255u);
        }
        return;
    }
    for (int c = 0; c < channels; ++c) {
        out[c] = static_cast<unsigned char>(s[components == 1 ? 0 : c]);
    }
}

// Transparent parts show the white of the page.
void overWhite(const RasterImage &raster, std::size_t pixel, int channels, unsigned char *out) {
    int alphaBytes = raster.bitsPerComponent == 16 ? 2 : 1;
    unsigned a = raster.alpha.data()[pixel * alphaBytes];
    for (int c = 0; c < channels; ++c) {
        unsigned colour = raster.premultiplied ? out[c] : out[c] * a / 255;
        out[c] = static_cast<unsigned char>(std::min(255u, colour + (255 - a)));
    }
}

void checkLayout(const RasterImage &raster, std::size_t rowBytes, bool indexed) {
    int bits = raster.bitsPerComponent;
    int components = raster.components;
    bool depth = bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16;
    if (!depth || components < 1 || components == 2 || components > 4 ||
        (indexed && (components != 1 || bits > 8))) {
        failInternal(PDFW_TYPE_ERROR, "a picture of " + std::to_string(components) +
                                          " samples of " + std::to_string(bits) +
                                          " bits cannot be corrected");
    }
    int alphaBytes = bits == 16 ? 2 : 1;
    if (raster.pixels.size() < rowBytes * raster.height ||
        (raster.alpha.size() > 0 &&
         raster.alpha.size() < std::size_t{raster.width} * raster.height * alphaBytes)) {
        failInternal(PDFW_SYNTAX_ERROR, "a decoded picture is shorter than its rows");
    }
}

} // namespace

std::vector<unsigned char> paletteColours(const std::string &palette, bool grey) {
    std::vector<unsigned char> colours;
    std::size_t open = palette.find('<');
    std::size_t close = palette.find('>', open);
    if (open == std::string::npos || close == std::string::npos) {
        return colours;
    }
    auto nibble = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    std::size_t step = grey ? 2 : 6;
    for (std::size_t i = open + 1; i + step <= close; i += step) {
        for (std::size_t k = 0; k < 3; ++k) {
            std::size_t at = i + 2 * (grey ? 0 : k);
            colours.push_back(
                static_cast<unsigned char>(nibble(palette[at]) * 16 + nibble(palette[at + 1])));
        }
    }
    return colours;
}

PagePicture rasterToPicture(const RasterImage &raster, const std::vector<unsigned char> *palette,
                            const MemoryProcs &memory) {
    std::size_t rowBytes =
        rasterRowBytes(raster.width, raster.components, raster.bitsPerComponent, "a picture row");
    checkLayout(raster, rowBytes, palette != nullptr);
    PagePicture picture;
    picture.width = raster.width;
    picture.height = raster.height;
    picture.channels = raster.components == 1 && !palette ? 1 : 3;
    picture.stride =
        checkedSize({raster.width, static_cast<std::uint64_t>(picture.channels)}, "a picture row");
    picture.rows = Buffer(memory, checkedSize({picture.stride, raster.height}, "a picture"),
                          "picture for correction");
    bool hasAlpha = raster.alpha.size() > 0;
    for (std::uint32_t y = 0; y < raster.height; ++y) {
        const unsigned char *row = raster.pixels.data() + y * rowBytes;
        unsigned char *target = picture.rows.data() + y * picture.stride;
        for (std::uint32_t x = 0; x < raster.width; ++x) {
            unsigned char *out = target + std::size_t{x} * picture.channels;
            colourAt(raster, row, x, palette, picture.channels, out);
            if (hasAlpha) {
                overWhite(raster, std::size_t{y} * raster.width + x, picture.channels, out);
            }
        }
    }
    return picture;
}

} // namespace folvane::pdfw
