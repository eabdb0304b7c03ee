#include "pdfw/tiff/TiffDecoder.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "pdfw/core/PdfwError.h"
#include "pdfw/tiff/TiffRows.h"

namespace folvane::pdfw {

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

// The fields of the page's picture that every band shares.
RasterImage directHeader(const TiffPage &p, const Layout &layout) {
    RasterImage image;
    image.width = p.width;
    image.bitsPerComponent = p.bitsPerSample;
    image.components = layout.colours;
    image.space.device = layout.colorSpace;
    image.palette = layout.palette;
    image.inverted = layout.inverted;
    image.premultiplied = layout.alpha && layout.premultiplied;
    return image;
}

void decodeDirect(TiffFile &tiff, const Layout &layout, int pdfMinor, const MemoryProcs &memory,
                  std::size_t bandBytes, const BandTaker &take) {
    const TiffPage &p = tiff.page();
    int samples = p.photometric == PHOTOMETRIC_YCBCR ? 3 : p.samplesPerPixel;
    std::string what = "\"" + tiff.path() + "\" (" + std::to_string(p.width) + " x " +
                       std::to_string(p.height) + " pixels)";
    std::size_t rowBytes = rasterRowBytes(p.width, samples, p.bitsPerSample, what);
    if (p.photometric != PHOTOMETRIC_YCBCR &&
        static_cast<std::uint64_t>(TIFFScanlineSize64(tiff.handle())) != rowBytes) {
        tiff.failRead("unexpected row size");
    }
    TiffRows rows(tiff, rowBytes, samples * p.bitsPerSample, memory);
    const std::uint32_t bandRows = rows.bandRows(bandBytes);
    // libtiff's fax decoder warns about rows it had to guess at (a wrong length, a premature
    // end) and goes on: what it gives then is not the page.
    bool fax = p.compression == COMPRESSION_CCITTRLE || p.compression == COMPRESSION_CCITTRLEW ||
               p.compression == COMPRESSION_CCITTFAX3 || p.compression == COMPRESSION_CCITTFAX4;
    tiff.clearMessages();
    for (std::uint32_t first = 0; first < p.height; first += bandRows) {
        RasterImage band = directHeader(p, layout);
        band.height = std::min(bandRows, p.height - first);
        band.pixels = Buffer(memory, checkedSize({rowBytes, band.height}, what), "TIFF pixels");
        rows.read(band.pixels.data(), first, band.height);
        if (fax && tiff.firstWarning()[0] != '\0') {
            fail(PDFW_SYNTAX_ERROR, damagedFile(tiff.path(), "TIFF",
                                                "libtiff cannot read its fax data whole (" +
                                                    std::string(tiff.firstWarning()) + ")"));
        }
        if (!pdfDepth(p.bitsPerSample)) {
            widen(band, samples, pdfMinor >= 5, memory);
        }
        arrange(band, layout, samples, pdfMinor >= 5, memory);
        take(band);
    }
}

// One band of libtiff's RGBA reading: rows `first` to `first + image.height`, RGB with alpha
// split off (premultiplied, as the reader gives it).
void rgbaBand(TiffFile &tiff, TIFFRGBAImage &reader, std::uint32_t first, RasterImage &image,
              const MemoryProcs &memory) {
    std::size_t pixels = std::size_t{image.width} * image.height;
    image.pixels = Buffer(memory, pixels * 4, "TIFF pixels");
    reader.row_offset = static_cast<int>(first);
    if (!TIFFRGBAImageGet(&reader, reinterpret_cast<std::uint32_t *>(image.pixels.data()),
                          image.width, image.height)) {
        tiff.failRead("cannot decode the image");
    }
    if (reader.alpha != 0) {
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
        if (reader.alpha != 0) {
            image.alpha.data()[i] = static_cast<unsigned char>(TIFFGetA(v));
        }
    }
    image.pixels.truncate(pixels * 3);
}

void decodeRgba(TiffFile &tiff, const MemoryProcs &memory, std::size_t bandBytes,
                const BandTaker &take) {
    const TiffPage &p = tiff.page();
    char reason[1024] = "";
    if (!TIFFRGBAImageOK(tiff.handle(), reason)) {
        fail(PDFW_TYPE_ERROR, unsupportedFile(tiff.path(), "TIFF", reason));
    }
    std::string what = "\"" + tiff.path() + "\" (" + std::to_string(p.width) + " x " +
                       std::to_string(p.height) + " pixels)";
    std::size_t rowBytes = checkedSize({p.width, 4}, what);
    std::uint32_t bandRows = p.height;
    if (bandBytes > 0) {
        bandRows =
            static_cast<std::uint32_t>(std::clamp<std::size_t>(bandBytes / rowBytes, 1, p.height));
    }
    checkedSize({rowBytes, bandRows}, what);
    TIFFRGBAImage reader;
    if (!TIFFRGBAImageBegin(&reader, tiff.handle(), 1, reason)) {
        tiff.failRead(reason);
    }
    // Keep the stored row order; the placement turns the picture upright.
    reader.req_orientation = reader.orientation;
    struct Ending {
        TIFFRGBAImage &reader;
        ~Ending() { TIFFRGBAImageEnd(&reader); }
    } ending{reader};
    for (std::uint32_t first = 0; first < p.height; first += bandRows) {
        RasterImage band;
        band.width = p.width;
        band.height = std::min(bandRows, p.height - first);
        band.components = 3;
        band.space.device = "/DeviceRGB";
        band.dropOpaqueAlpha = true;
        rgbaBand(tiff, reader, first, band, memory);
        take(band);
    }
}

} // namespace

void decodeTiffBands(TiffFile &tiff, int pdfMinor, const MemoryProcs &memory, std::size_t bandBytes,
                     const BandTaker &take) {
    Layout layout;
    if (tiff.page().photometric >= 0 && directLayout(tiff, layout)) {
        decodeDirect(tiff, layout, pdfMinor, memory, bandBytes, take);
        return;
    }
    decodeRgba(tiff, memory, bandBytes, take);
}

RasterImage decodeTiff(TiffFile &tiff, int pdfMinor, const MemoryProcs &memory) {
    RasterImage whole;
    decodeTiffBands(tiff, pdfMinor, memory, 0,
                    [&whole](RasterImage &band) { whole = std::move(band); });
    whole.height = tiff.page().height;
    if (whole.dropOpaqueAlpha && whole.alpha.size() > 0 &&
        std::all_of(whole.alpha.data(), whole.alpha.data() + whole.alpha.size(),
                    [](unsigned char a) { return a == 255; })) {
        whole.alpha = Buffer();
        whole.premultiplied = false;
    }
    return whole;
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

} // namespace folvane::pdfw
