#include "pdfw/tiff/TiffDecoder.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "pdfw/core/PdfwError.h"

namespace pdfw {

namespace {

// How a page's samples map to PDF, when they do directly.
struct Layout {
    int colours = 0;        // colour samples per pixel
    std::string colorSpace; // a device space, the palette's base when `palette` is set
    std::string palette;
    bool inverted = false;
    bool alpha = false; // the first extra sample is alpha
    bool premultiplied = false;
};

bool isAlpha(int kind) {
    return kind == EXTRASAMPLE_ASSOCALPHA || kind == EXTRASAMPLE_UNASSALPHA;
}

// "hival<RRGGBB...>": the palette of an indexed colour space.
std::string paletteEntries(TiffFile &tiff, int bits) {
    std::uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
    if (!TIFFGetField(tiff.handle(), TIFFTAG_COLORMAP, &red, &green, &blue) || !red || !green ||
        !blue) {
        tiff.failRead("a palette image without a colour map");
    }
    int entries = 1 << bits;
    // Old writers stored 8-bit values in the 16-bit map; take those as they are.
    bool eightBit = true;
    for (int i = 0; i < entries; ++i) {
        eightBit = eightBit && red[i] < 256 && green[i] < 256 && blue[i] < 256;
    }
    auto eight = [&](std::uint16_t v) {
        return eightBit ? v : static_cast<unsigned>((v * 255u + 32767u) / 65535u);
    };
    static const char kHex[] = "0123456789ABCDEF";
    std::string space = std::to_string(entries - 1) + "<";
    for (int i = 0; i < entries; ++i) {
        for (unsigned v : {eight(red[i]), eight(green[i]), eight(blue[i])}) {
            space += kHex[v >> 4];
            space += kHex[v & 15];
        }
    }
    return space + ">";
}

// The direct layout of the page, or false when it needs the RGBA reader.
bool directLayout(TiffFile &tiff, Layout &layout) {
    const TiffPage &p = tiff.page();
    int bits = p.bitsPerSample;
    if (p.sampleFormat != SAMPLEFORMAT_UINT) {
        return false;
    }
    if (p.compression == COMPRESSION_OJPEG) {
        return false;
    }
    switch (p.photometric) {
    case PHOTOMETRIC_MINISWHITE:
    case PHOTOMETRIC_MINISBLACK:
        if (bits < 1 || bits > 16) {
            return false;
        }
        layout.colours = 1;
        layout.colorSpace = "/DeviceGray";
        layout.inverted = p.photometric == PHOTOMETRIC_MINISWHITE;
        break;
    case PHOTOMETRIC_RGB:
        if (bits < 1 || bits > 16) {
            return false;
        }
        layout.colours = 3;
        layout.colorSpace = "/DeviceRGB";
        break;
    case PHOTOMETRIC_SEPARATED:
        if (bits < 1 || bits > 16 || p.inkSet != INKSET_CMYK) {
            return false;
        }
        layout.colours = 4;
        layout.colorSpace = "/DeviceCMYK";
        break;
    case PHOTOMETRIC_PALETTE:
        if (bits != 1 && bits != 2 && bits != 4 && bits != 8) {
            return false;
        }
        layout.colours = 1;
        layout.colorSpace = "/DeviceRGB";
        layout.palette = paletteEntries(tiff, bits);
        break;
    case PHOTOMETRIC_YCBCR:
        // libtiff's JPEG codec converts to RGB itself, losslessly with respect to what the
        // decoder yields; other YCbCr data goes through the RGBA reader.
        if (p.compression != COMPRESSION_JPEG || bits != 8 || p.samplesPerPixel != 3) {
            return false;
        }
        if (!TIFFSetField(tiff.handle(), TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB)) {
            return false;
        }
        layout.colours = 3;
        layout.colorSpace = "/DeviceRGB";
        return p.planar == PLANARCONFIG_CONTIG;
    default:
        return false;
    }
    if (p.samplesPerPixel < layout.colours ||
        p.samplesPerPixel - layout.colours != p.extraSamples) {
        return false;
    }
    if (p.extraSamples > 0) {
        if (bits < 8 || p.photometric == PHOTOMETRIC_PALETTE) {
            return false;
        }
        layout.alpha = isAlpha(p.firstExtraKind);
        layout.premultiplied = p.firstExtraKind == EXTRASAMPLE_ASSOCALPHA;
    }
    return p.planar == PLANARCONFIG_CONTIG || p.samplesPerPixel == 1;
}

// Reads all rows of a contiguous page into `pixels` (rowBytes per row).
void readRows(TiffFile &tiff, unsigned char *pixels, std::size_t rowBytes, int bitsPerPixel,
              const MemoryProcs &memory) {
    TIFF *t = tiff.handle();
    const TiffPage &p = tiff.page();
    if (!p.tiled) {
        std::uint32_t rowsPerStrip = p.height;
        TIFFGetFieldDefaulted(t, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
        rowsPerStrip = std::clamp<std::uint32_t>(rowsPerStrip, 1, p.height);
        std::uint32_t strips = TIFFNumberOfStrips(t);
        std::uint32_t needed = (p.height - 1) / rowsPerStrip + 1;
        if (strips < needed) {
            tiff.failRead("too few strips for the image height");
        }
        for (std::uint32_t s = 0; s < needed; ++s) {
            std::uint32_t first = s * rowsPerStrip;
            std::uint32_t rows = std::min(rowsPerStrip, p.height - first);
            std::size_t bytes = rows * rowBytes;
            tmsize_t got =
                TIFFReadEncodedStrip(t, s, pixels + first * rowBytes, static_cast<tmsize_t>(bytes));
            if (got < 0 || static_cast<std::size_t>(got) < bytes) {
                tiff.failRead("cannot decode strip " + std::to_string(s));
            }
        }
        return;
    }
    std::uint32_t tileWidth = 0, tileHeight = 0;
    TIFFGetField(t, TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(t, TIFFTAG_TILELENGTH, &tileHeight);
    if (tileWidth == 0 || tileHeight == 0 || tileWidth % 8 != 0) {
        tiff.failRead("bad tile size");
    }
    std::size_t tileRowBytes = rasterRowBytes(tileWidth, 1, bitsPerPixel, "a tile row");
    std::size_t tileBytes = checkedSize({tileRowBytes, tileHeight}, "a tile");
    Buffer tile(memory, tileBytes, "TIFF tile");
    for (std::uint32_t y = 0; y < p.height; y += tileHeight) {
        for (std::uint32_t x = 0; x < p.width; x += tileWidth) {
            if (TIFFReadTile(t, tile.data(), x, y, 0, 0) < 0) {
                tiff.failRead("cannot decode the tile at " + std::to_string(x) + "," +
                              std::to_string(y));
            }
            std::size_t offset = static_cast<std::size_t>(x) * bitsPerPixel / 8;
            std::size_t span = std::min(tileRowBytes, rowBytes - offset);
            std::uint32_t rows = std::min(tileHeight, p.height - y);
            for (std::uint32_t r = 0; r < rows; ++r) {
                std::memcpy(pixels + (y + r) * rowBytes + offset, tile.data() + r * tileRowBytes,
                            span);
            }
        }
    }
}

std::uint16_t nativeSample16(const unsigned char *at) {
    std::uint16_t v;
    std::memcpy(&v, at, 2);
    return v;
}

// Rounds a 16-bit sample to the nearest 8-bit one (v * 255 / 65535, rounded half up).
unsigned char toEight(std::uint16_t v) {
    return static_cast<unsigned char>((v * 255u + 32767u) / 65535u);
}

// Moves alpha (and any other extra samples) out of the interleaved pixels, then brings
// 16-bit samples to the form PDF takes: big-endian, or 8-bit below PDF 1.5.
void arrange(RasterImage &image, const Layout &layout, int samples, bool keep16,
             const MemoryProcs &memory) {
    const int bytes = image.bitsPerComponent / 8;
    if (bytes == 0) {
        return; // 1, 2 or 4 bits: already in PDF's layout
    }
    std::size_t pixels = std::size_t{image.width} * image.height;
    unsigned char *data = image.pixels.data();
    if (samples != layout.colours) {
        if (layout.alpha) {
            image.alpha = Buffer(memory, pixels * bytes, "alpha channel");
        }
        std::size_t in = 0, out = 0;
        const std::size_t colourBytes = static_cast<std::size_t>(layout.colours) * bytes;
        const std::size_t pixelBytes = static_cast<std::size_t>(samples) * bytes;
        for (std::size_t i = 0; i < pixels; ++i, in += pixelBytes, out += colourBytes) {
            std::memmove(data + out, data + in, colourBytes);
            if (layout.alpha) {
                std::memcpy(image.alpha.data() + i * bytes, data + in + colourBytes, bytes);
            }
        }
        image.pixels.truncate(out);
    }
    if (bytes == 1) {
        return;
    }
    for (Buffer *plane : {&image.pixels, &image.alpha}) {
        unsigned char *p = plane->data();
        std::size_t count = plane->size() / 2;
        for (std::size_t i = 0; i < count; ++i) {
            std::uint16_t v = nativeSample16(p + 2 * i);
            if (keep16) {
                p[2 * i] = static_cast<unsigned char>(v >> 8);
                p[2 * i + 1] = static_cast<unsigned char>(v & 0xFF);
            } else {
                p[i] = toEight(v);
            }
        }
        if (!keep16) {
            plane->truncate(count);
        }
    }
    if (!keep16) {
        image.bitsPerComponent = 8;
    }
}

bool pdfDepth(int bits) {
    return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16;
}

// Samples of a depth PDF has no place for (3, 5, 6, 7, 9 to 15 bits) become 16-bit samples
// (native order, for arrange()) from PDF 1.5, which keep every value apart, or 8-bit ones
// below it; both scale v of n bits by round(v * max / (2^n - 1)).
void widen(RasterImage &image, int samples, bool keep16, const MemoryProcs &memory) {
    const int bits = image.bitsPerComponent;
    const std::uint32_t top = (1u << bits) - 1;
    const std::uint32_t target = keep16 ? 65535 : 255;
    const std::size_t perRow = std::size_t{image.width} * samples;
    const std::size_t rowBytes = rasterRowBytes(image.width, samples, bits, "a row");
    Buffer wide(memory, checkedSize({perRow, image.height, keep16 ? 2u : 1u}, "widened samples"),
                "widened samples");
    unsigned char *out = wide.data();
    for (std::uint32_t y = 0; y < image.height; ++y) {
        const unsigned char *row = image.pixels.data() + y * rowBytes;
        std::uint64_t bit = 0;
        for (std::size_t i = 0; i < perRow; ++i, bit += bits) {
            std::uint32_t v = 0;
            for (int b = 0; b < bits; ++b) {
                std::uint64_t at = bit + b;
                v = v << 1 | ((row[at / 8] >> (7 - at % 8)) & 1u);
            }
            std::uint32_t scaled = (v * target + top / 2) / top;
            if (keep16) {
                auto sample = static_cast<std::uint16_t>(scaled);
                std::memcpy(out, &sample, 2);
                out += 2;
            } else {
                *out++ = static_cast<unsigned char>(scaled);
            }
        }
    }
    image.pixels = std::move(wide);
    image.bitsPerComponent = keep16 ? 16 : 8;
}

RasterImage decodeDirect(TiffFile &tiff, const Layout &layout, int pdfMinor,
                         const MemoryProcs &memory) {
    const TiffPage &p = tiff.page();
    RasterImage image;
    image.width = p.width;
    image.height = p.height;
    image.bitsPerComponent = p.bitsPerSample;
    image.components = layout.colours;
    image.space.device = layout.colorSpace;
    image.palette = layout.palette;
    image.inverted = layout.inverted;
    image.premultiplied = layout.alpha && layout.premultiplied;
    int samples = p.photometric == PHOTOMETRIC_YCBCR ? 3 : p.samplesPerPixel;
    std::string what = "\"" + tiff.path() + "\" (" + std::to_string(p.width) + " x " +
                       std::to_string(p.height) + " pixels)";
    std::size_t rowBytes = rasterRowBytes(p.width, samples, p.bitsPerSample, what);
    if (p.photometric != PHOTOMETRIC_YCBCR &&
        static_cast<std::uint64_t>(TIFFScanlineSize64(tiff.handle())) != rowBytes) {
        tiff.failRead("unexpected row size");
    }
    image.pixels = Buffer(memory, checkedSize({rowBytes, p.height}, what), "TIFF pixels");
    tiff.clearMessages();
    readRows(tiff, image.pixels.data(), rowBytes, samples * p.bitsPerSample, memory);
    // libtiff's fax decoder warns about rows it had to guess at (a wrong length, a premature
    // end) and goes on: what it gives then is not the page.
    bool fax = p.compression == COMPRESSION_CCITTRLE || p.compression == COMPRESSION_CCITTRLEW ||
               p.compression == COMPRESSION_CCITTFAX3 || p.compression == COMPRESSION_CCITTFAX4;
    if (fax && tiff.firstWarning()[0] != '\0') {
        fail(PDFW_SYNTAX_ERROR, damagedFile(tiff.path(), "TIFF",
                                            "libtiff cannot read its fax data whole (" +
                                                std::string(tiff.firstWarning()) + ")"));
    }
    if (!pdfDepth(p.bitsPerSample)) {
        widen(image, samples, pdfMinor >= 5, memory);
    }
    arrange(image, layout, samples, pdfMinor >= 5, memory);
    return image;
}

RasterImage decodeRgba(TiffFile &tiff, const MemoryProcs &memory) {
    const TiffPage &p = tiff.page();
    char reason[1024] = "";
    if (!TIFFRGBAImageOK(tiff.handle(), reason)) {
        fail(PDFW_TYPE_ERROR, unsupportedFile(tiff.path(), "TIFF", reason));
    }
    std::string what = "\"" + tiff.path() + "\" (" + std::to_string(p.width) + " x " +
                       std::to_string(p.height) + " pixels)";
    std::size_t pixels = checkedSize({p.width, p.height, 4}, what) / 4;
    RasterImage image;
    image.width = p.width;
    image.height = p.height;
    image.components = 3;
    image.space.device = "/DeviceRGB";
    image.pixels = Buffer(memory, pixels * 4, "TIFF pixels");
    TIFFRGBAImage reader;
    if (!TIFFRGBAImageBegin(&reader, tiff.handle(), 1, reason)) {
        tiff.failRead(reason);
    }
    // Keep the stored row order; the placement turns the picture upright.
    reader.req_orientation = reader.orientation;
    bool hasAlpha = reader.alpha != 0;
    int ok = TIFFRGBAImageGet(&reader, reinterpret_cast<std::uint32_t *>(image.pixels.data()),
                              p.width, p.height);
    TIFFRGBAImageEnd(&reader);
    if (!ok) {
        tiff.failRead("cannot decode the image");
    }
    if (hasAlpha) {
        image.alpha = Buffer(memory, pixels, "alpha channel");
        image.premultiplied = true; // libtiff's RGBA reader premultiplies
    }
    unsigned char *data = image.pixels.data();
    for (std::size_t i = 0; i < pixels; ++i) {
        std::uint32_t v;
        std::memcpy(&v, data + 4 * i, 4);
        data[3 * i] = static_cast<unsigned char>(TIFFGetR(v));
        data[3 * i + 1] = static_cast<unsigned char>(TIFFGetG(v));
        data[3 * i + 2] = static_cast<unsigned char>(TIFFGetB(v));
        if (hasAlpha) {
            image.alpha.data()[i] = static_cast<unsigned char>(TIFFGetA(v));
        }
    }
    image.pixels.truncate(pixels * 3);
    if (hasAlpha && std::all_of(image.alpha.data(), image.alpha.data() + pixels,
                                [](unsigned char a) { return a == 255; })) {
        image.alpha = Buffer();
        image.premultiplied = false;
    }
    return image;
}

} // namespace

RasterImage decodeTiff(TiffFile &tiff, int pdfMinor, const MemoryProcs &memory) {
    Layout layout;
    if (tiff.page().photometric >= 0 && directLayout(tiff, layout)) {
        return decodeDirect(tiff, layout, pdfMinor, memory);
    }
    return decodeRgba(tiff, memory);
}

bool tiffDecodable(TiffFile &tiff, Problem &reason) {
    Layout layout;
    if (tiff.page().photometric >= 0 && directLayout(tiff, layout)) {
        return true;
    }
    char text[1024] = "";
    if (TIFFRGBAImageOK(tiff.handle(), text)) {
        return true;
    }
    reason = unsupportedFile(tiff.path(), "TIFF", text);
    return false;
}

} // namespace pdfw
