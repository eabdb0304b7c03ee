#include "pdfw/raster/RecognitionPixels.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "pdfw/core/PdfwError.h"
#include "pdfw/raster/Samples.h"

namespace folvane::pdfw {

namespace {

unsigned char greyOf(const unsigned *s, int components) {
    if (components == 3) {
        return static_cast<unsigned char>((299 * s[0] + 587 * s[1] + 114 * s[2]) / 1000);
    }
    unsigned ink = (299 * s[0] + 587 * s[1] + 114 * s[2]) / 1000 + s[3];
    return static_cast<unsigned char>(255 - std::min(255u, ink));
}

PagePixels bilevel(const RasterImage &raster, int orientation, int dpi, const MemoryProcs &memory) {
    std::size_t rowBytes = rasterRowBytes(raster.width, 1, 1, "a bilevel row");
    PagePixels out;
    out.rows = Buffer(memory, raster.pixels.size(), "OCR picture");
    std::memcpy(out.rows.data(), raster.pixels.data(), raster.pixels.size());
    // Recognition takes 1 for black; a plain grey sample of 1 is white.
    if (!raster.inverted) {
        for (std::size_t i = 0; i < out.rows.size(); ++i) {
            out.rows.data()[i] = static_cast<unsigned char>(~out.rows.data()[i]);
        }
    }
    out.image = {static_cast<int>(raster.width),
                 static_cast<int>(raster.height),
                 1,
                 out.rows.data(),
                 rowBytes,
                 orientation,
                 dpi};
    return out;
}

} // namespace

unsigned char lumaOf(unsigned red, unsigned green, unsigned blue) {
    return static_cast<unsigned char>((299 * red + 587 * green + 114 * blue) / 1000);
}

std::vector<unsigned char> paletteGreys(const std::string &palette, bool grey) {
    std::vector<unsigned char> greys;
    std::size_t open = palette.find('<');
    std::size_t close = palette.find('>', open);
    if (open == std::string::npos || close == std::string::npos) {
        return greys;
    }
    auto nibble = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    std::size_t step = grey ? 2 : 6;
    for (std::size_t i = open + 1; i + step <= close; i += step) {
        unsigned v[3];
        for (std::size_t k = 0; k < step / 2; ++k) {
            v[k] = nibble(palette[i + 2 * k]) * 16 + nibble(palette[i + 2 * k + 1]);
        }
        greys.push_back(grey ? static_cast<unsigned char>(v[0]) : lumaOf(v[0], v[1], v[2]));
    }
    return greys;
}

PagePixels rasterForRecognition(const RasterImage &raster,
                                const std::vector<unsigned char> *palette, int orientation, int dpi,
                                const MemoryProcs &memory) {
    bool indexed = palette != nullptr;
    int components = raster.components;
    int bits = raster.bitsPerComponent;
    std::size_t rowBytes = rasterRowBytes(raster.width, components, bits, "a picture row");
    if (raster.pixels.size() < rowBytes * raster.height) {
        fail(PDFW_SYNTAX_ERROR,
             problemWith(PDFW_PROBLEM_INTERNAL, "", "a decoded picture is shorter than its rows"));
    }
    bool hasAlpha = raster.alpha.size() > 0;
    if (components == 1 && bits == 1 && !indexed && !hasAlpha) {
        return bilevel(raster, orientation, dpi, memory);
    }
    if ((bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16) || components < 1 ||
        components == 2 || components > 4) {
        fail(PDFW_TYPE_ERROR,
             problemWith(PDFW_PROBLEM_RECOGNITION, "",
                         "a picture of " + std::to_string(components) + " samples of " +
                             std::to_string(bits) + " bits cannot be recognised"));
    }
    int alphaBytes = bits == 16 ? 2 : 1;
    if (hasAlpha &&
        raster.alpha.size() < static_cast<std::size_t>(raster.width) * raster.height * alphaBytes) {
        fail(PDFW_SYNTAX_ERROR,
             problemWith(PDFW_PROBLEM_INTERNAL, "",
                         "a decoded picture's alpha is shorter than its pixels"));
    }
    PagePixels out;
    out.rows = Buffer(memory, checkedSize({raster.width, raster.height}, "the grey picture"),
                      "OCR picture");
    for (std::uint32_t y = 0; y < raster.height; ++y) {
        const unsigned char *row = raster.pixels.data() + y * rowBytes;
        unsigned char *target = out.rows.data() + static_cast<std::size_t>(y) * raster.width;
        for (std::uint32_t x = 0; x < raster.width; ++x) {
            if (indexed) {
                unsigned index = indexAt(row, x, bits);
                target[x] = index < palette->size() ? (*palette)[index] : 255;
            } else {
                unsigned s[4] = {};
                for (int c = 0; c < components && c < 4; ++c) {
                    s[c] = sampleAt(row, static_cast<std::size_t>(x) * components + c, bits);
                }
                unsigned char grey =
                    components == 1 ? static_cast<unsigned char>(s[0]) : greyOf(s, components);
                target[x] = raster.inverted ? static_cast<unsigned char>(255 - grey) : grey;
            }
            if (hasAlpha) {
                // Transparent parts show the white of the page.
                std::size_t at = (static_cast<std::size_t>(y) * raster.width + x) * alphaBytes;
                unsigned a = raster.alpha.data()[at];
                unsigned colour = raster.premultiplied ? target[x] : target[x] * a / 255;
                target[x] = static_cast<unsigned char>(std::min(255u, colour + (255 - a)));
            }
        }
    }
    out.image = {static_cast<int>(raster.width),
                 static_cast<int>(raster.height),
                 8,
                 out.rows.data(),
                 raster.width,
                 orientation,
                 dpi};
    return out;
}

} // namespace folvane::pdfw
