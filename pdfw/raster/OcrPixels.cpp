#include "pdfw/raster/OcrPixels.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "pdfw/core/InputFile.h"
#include "pdfw/core/PdfwError.h"
#include "pdfw/formats/ImageKind.h"
#include "pdfw/jpeg/JpegStructure.h"
#include "pdfw/png/PngDecoder.h"
#include "pdfw/tiff/TiffDecoder.h"
#include "pdfw/tiff/TiffFile.h"

namespace pdfw {

namespace {

unsigned char luma(unsigned r, unsigned g, unsigned b) {
    return static_cast<unsigned char>((299 * r + 587 * g + 114 * b) / 1000);
}

unsigned sampleAt(const unsigned char *row, std::size_t index, int bits) {
    switch (bits) {
    case 16:
        return row[2 * index]; // the high byte
    case 8:
        return row[index];
    default: {
        std::size_t bit = index * bits;
        unsigned byte = row[bit / 8];
        unsigned shift = 8 - bits - bit % 8;
        unsigned value = (byte >> shift) & ((1u << bits) - 1);
        return value * 255u / ((1u << bits) - 1);
    }
    }
}

// The grey value of each entry of a palette written as "hival<RRGGBB...>" over RGB (or
// "hival<GG...>" over grey: one byte an entry).
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
        greys.push_back(grey ? static_cast<unsigned char>(v[0]) : luma(v[0], v[1], v[2]));
    }
    return greys;
}

unsigned char greyOf(const unsigned *s, int components) {
    if (components == 3) {
        return static_cast<unsigned char>((299 * s[0] + 587 * s[1] + 114 * s[2]) / 1000);
    }
    unsigned ink = (299 * s[0] + 587 * s[1] + 114 * s[2]) / 1000 + s[3];
    return static_cast<unsigned char>(255 - std::min(255u, ink));
}

OcrPixels bilevel(const RasterImage &raster, int orientation, int dpi, const MemoryProcs &memory) {
    std::size_t rowBytes = rasterRowBytes(raster.width, 1, 1, "a bilevel row");
    OcrPixels out;
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

OcrPixels jpegForOcr(GreyPicture picture, int orientation) {
    OcrPixels out;
    out.rows = std::move(picture.rows);
    int dpi = picture.dpi >= kLeastJpegDpi ? picture.dpi : 0;
    out.image = {static_cast<int>(picture.width),
                 static_cast<int>(picture.height),
                 8,
                 out.rows.data(),
                 picture.width,
                 orientation,
                 dpi};
    return out;
}

OcrPixels rasterForOcr(const RasterImage &raster, const std::vector<unsigned char> *palette,
                       int orientation, int dpi, const MemoryProcs &memory) {
    bool indexed = palette != nullptr;
    int components = raster.components;
    int bits = raster.bitsPerComponent;
    std::size_t rowBytes = rasterRowBytes(raster.width, components, bits, "a picture row");
    if (raster.pixels.size() < rowBytes * raster.height) {
        fail(PDFW_SYNTAX_ERROR, "a decoded picture is shorter than its rows");
    }
    bool hasAlpha = raster.alpha.size() > 0;
    if (components == 1 && bits == 1 && !indexed && !hasAlpha) {
        return bilevel(raster, orientation, dpi, memory);
    }
    if ((bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16) || components < 1 ||
        components == 2 || components > 4) {
        fail(PDFW_TYPE_ERROR, "a picture of " + std::to_string(components) + " samples of " +
                                  std::to_string(bits) + " bits cannot be recognised");
    }
    int alphaBytes = bits == 16 ? 2 : 1;
    if (hasAlpha &&
        raster.alpha.size() < static_cast<std::size_t>(raster.width) * raster.height * alphaBytes) {
        fail(PDFW_SYNTAX_ERROR, "a decoded picture's alpha is shorter than its pixels");
    }
    OcrPixels out;
    out.rows = Buffer(memory, checkedSize({raster.width, raster.height}, "the grey picture"),
                      "OCR picture");
    for (std::uint32_t y = 0; y < raster.height; ++y) {
        const unsigned char *row = raster.pixels.data() + y * rowBytes;
        unsigned char *target = out.rows.data() + static_cast<std::size_t>(y) * raster.width;
        for (std::uint32_t x = 0; x < raster.width; ++x) {
            if (indexed) {
                unsigned index = bits == 8 ? row[x] : 0;
                if (bits < 8) {
                    std::size_t bit = static_cast<std::size_t>(x) * bits;
                    index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                }
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

namespace {

int tiffDpi(TiffFile &tiff) {
    float x = 0;
    std::uint16_t unit = RESUNIT_INCH;
    if (!TIFFGetField(tiff.handle(), TIFFTAG_XRESOLUTION, &x) || !(x > 0) || x > 100000) {
        return kScanDpi;
    }
    TIFFGetFieldDefaulted(tiff.handle(), TIFFTAG_RESOLUTIONUNIT, &unit);
    if (unit == RESUNIT_CENTIMETER) {
        return static_cast<int>(x * 2.54f + 0.5f);
    }
    return unit == RESUNIT_INCH ? static_cast<int>(x + 0.5f) : kScanDpi;
}

} // namespace

OcrPixels pixelsForOcr(const std::string &path, int page, const MemoryProcs &memory) {
    InputFile file(path);
    unsigned char head[kKindBytes] = {};
    ImageKind kind = detectImageKind(head, file.readAt(0, head, sizeof head));
    if (kind == ImageKind::Jpeg) {
        std::size_t size = checkedSize({file.size()}, "\"" + path + "\"");
        Buffer bytes(memory, size, "JPEG file");
        file.readExactly(0, bytes.data(), size, "the image data");
        JpegInfo info = inspectJpeg(MemorySource(bytes.data(), size, path));
        return jpegForOcr(decodeJpegToGrey(bytes.data(), size, path, memory), info.orientation);
    }
    if (kind == ImageKind::Png) {
        DecodedPng png = decodePng(file, 4, memory);
        std::vector<unsigned char> greys;
        for (std::size_t i = 0; i + 2 < png.palette.size(); i += 3) {
            greys.push_back(luma(png.palette[i], png.palette[i + 1], png.palette[i + 2]));
        }
        return rasterForOcr(png.raster, png.indexed ? &greys : nullptr, 1, kScanDpi, memory);
    }
    TiffFile tiff(file, page);
    int dpi = tiffDpi(tiff);
    int orientation = tiff.page().orientation;
    RasterImage raster = decodeTiff(tiff, 7, memory);
    bool indexed = !raster.palette.empty();
    std::vector<unsigned char> greys =
        indexed ? paletteGreys(raster.palette, raster.space.device == "/DeviceGray")
                : std::vector<unsigned char>();
    return rasterForOcr(raster, indexed ? &greys : nullptr, orientation, dpi, memory);
}

} // namespace pdfw
