#include "pdfw/png/PngDecoder.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include <png.h>

#include "pdfw/core/PdfwError.h"
#include "pdfw/core/RowFile.h"
#include "pdfw/core/UnnamedFile.h"

namespace folvane::pdfw {

namespace {

// What the libpng calls share; plain data only, so that the longjmp of the error callback
// skips no destructor.
struct Reader {
    png_structp png;
    png_infop info;
    const ByteSource *file;
    std::uint64_t position;
    char message[256];
    // The picture as the transformations leave it.
    png_uint_32 width, height;
    int bitDepth, channels, colourType, passes;
    std::size_t rowBytes;
    png_bytep palette; // libpng's palette, transparency
    int paletteEntries;
    png_bytep alphas;
    int alphaEntries;
    int ioError; // errno of a failed read or write of the passes' file
};

void onError(png_structp png, png_const_charp text) {
    auto *r = static_cast<Reader *>(png_get_error_ptr(png));
    std::snprintf(r->message, sizeof r->message, "%s", text);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void readBytes(png_structp png, png_bytep data, png_size_t size) {
    auto *r = static_cast<Reader *>(png_get_io_ptr(png));
    if (r->file->readAt(r->position, data, size) != size) {
        png_error(png, "the file ends early");
    }
    r->position += size;
}

// Reads the chunks before the image data and sets the transformations. Holds only C data.
bool readHeader(Reader &r, bool keep16) {
    if (setjmp(png_jmpbuf(r.png)) != 0) {
        return false;
    }
    png_set_read_fn(r.png, &r, readBytes);
    png_set_user_limits(r.png, 0x7FFFFFFF, 0x7FFFFFFF);
    png_set_chunk_malloc_max(r.png, std::size_t{16} << 20);
    png_read_info(r.png, r.info);
    int type = png_get_color_type(r.png, r.info);
    bool transparency = png_get_valid(r.png, r.info, PNG_INFO_tRNS) != 0;
    if (type == PNG_COLOR_TYPE_PALETTE) {
        png_colorp entries = nullptr;
        png_get_PLTE(r.png, r.info, &entries, &r.paletteEntries);
        r.palette = reinterpret_cast<png_bytep>(entries);
        if (transparency) {
            png_get_tRNS(r.png, r.info, &r.alphas, &r.alphaEntries, nullptr);
            png_set_packing(r.png); // one index per byte, for the alpha lookup
        }
    } else if (transparency) {
        png_set_tRNS_to_alpha(r.png);
    }
    if (png_get_bit_depth(r.png, r.info) == 16 && !keep16) {
        png_set_scale_16(r.png);
    }
    r.passes = png_set_interlace_handling(r.png);
    png_read_update_info(r.png, r.info);
    r.width = png_get_image_width(r.png, r.info);
    r.height = png_get_image_height(r.png, r.info);
    r.bitDepth = png_get_bit_depth(r.png, r.info);
    r.channels = png_get_channels(r.png, r.info);
    r.colourType = png_get_color_type(r.png, r.info);
    r.rowBytes = png_get_rowbytes(r.png, r.info);
    return true;
}

// Reads every row of every pass into `pixels`. Holds only C data.
bool readRows(Reader &r, unsigned char *pixels) {
    if (setjmp(png_jmpbuf(r.png)) != 0) {
        return false;
    }
    for (int pass = 0; pass < r.passes; ++pass) {
        for (png_uint_32 y = 0; y < r.height; ++y) {
            png_read_row(r.png, pixels + y * r.rowBytes, nullptr);
        }
    }
    return true;
}

// Reads the next `rows` rows of a picture that is not interlaced. Holds only C data.
bool readBand(Reader &r, unsigned char *pixels, png_uint_32 rows) {
    if (setjmp(png_jmpbuf(r.png)) != 0) {
        return false;
    }
    for (png_uint_32 y = 0; y < rows; ++y) {
        png_read_row(r.png, pixels + y * r.rowBytes, nullptr);
    }
    return true;
}

// Reads every pass of an interlaced picture, each row of a pass laid over what the passes
// before left of it in `file`. `row` holds one row. Holds only C data.
bool readPasses(Reader &r, RowFile &file, unsigned char *row) {
    if (setjmp(png_jmpbuf(r.png)) != 0) {
        return false;
    }
    for (int pass = 0; pass < r.passes; ++pass) {
        for (png_uint_32 y = 0; y < r.height; ++y) {
            // libpng leaves the rows of other passes as they are.
            bool inPass = PNG_ROW_IN_INTERLACE_PASS(y, pass) != 0;
            if (inPass && !file.read(y, row)) {
                r.ioError = errno;
                return false;
            }
            png_read_row(r.png, row, nullptr);
            if (inPass && !file.write(y, row)) {
                r.ioError = errno;
                return false;
            }
        }
    }
    return true;
}

// Rows `first` to `first + rows` of the picture the passes put together.
bool readStored(Reader &r, const RowFile &file, png_uint_32 first, unsigned char *pixels,
                png_uint_32 rows) {
    for (png_uint_32 y = 0; y < rows; ++y) {
        if (!file.read(first + y, pixels + y * r.rowBytes)) {
            r.ioError = errno;
            return false;
        }
    }
    return true;
}

struct ReaderOwner {
    Reader reader{};
    ~ReaderOwner() {
        if (reader.png) {
            png_destroy_read_struct(&reader.png, reader.info ? &reader.info : nullptr, nullptr);
        }
    }
};

// Moves the last of `channels` interleaved samples of every pixel into `image.alpha`.
void splitAlpha(RasterImage &image, int channels, const MemoryProcs &memory) {
    const std::size_t bytes = static_cast<std::size_t>(image.bitsPerComponent) / 8;
    const std::size_t pixels = std::size_t{image.width} * image.height;
    const std::size_t colourBytes = (channels - 1) * bytes;
    image.alpha = Buffer(memory, pixels * bytes, "alpha channel");
    unsigned char *data = image.pixels.data();
    for (std::size_t i = 0; i < pixels; ++i) {
        std::memmove(data + i * colourBytes, data + i * (colourBytes + bytes), colourBytes);
        std::memcpy(image.alpha.data() + i * bytes, data + i * (colourBytes + bytes) + colourBytes,
                    bytes);
    }
    image.pixels.truncate(pixels * colourBytes);
}

// Indices become their tRNS opacity (255 beyond the tRNS entries).
void paletteAlpha(RasterImage &image, const Reader &r, const MemoryProcs &memory) {
    unsigned char opacity[256];
    std::memset(opacity, 255, sizeof opacity);
    std::memcpy(opacity, r.alphas, static_cast<std::size_t>(std::min(r.alphaEntries, 256)));
    const std::size_t pixels = std::size_t{image.width} * image.height;
    image.alpha = Buffer(memory, pixels, "alpha channel");
    for (std::size_t i = 0; i < pixels; ++i) {
        image.alpha.data()[i] = opacity[image.pixels.data()[i]];
    }
}

// The fields every band of the picture shares.
RasterImage bandHeader(const Reader &r, bool indexed) {
    RasterImage image;
    image.width = r.width;
    image.bitsPerComponent = r.bitDepth;
    image.components = indexed ? 1 : (r.channels == 1 || r.channels == 2 ? 1 : 3);
    image.dropOpaqueAlpha = true;
    return image;
}

// Splits off the band's alpha: interleaved samples, or a palette's tRNS opacities.
void finishBand(RasterImage &band, const Reader &r, const MemoryProcs &memory) {
    if (r.channels == 2 || r.channels == 4) {
        splitAlpha(band, r.channels, memory);
    }
    if (r.colourType == PNG_COLOR_TYPE_PALETTE && r.alphas && r.alphaEntries > 0) {
        paletteAlpha(band, r, memory);
    }
}

} // namespace

DecodedPng decodePng(const ByteSource &file, int pdfMinor, const MemoryProcs &memory) {
    DecodedPng decoded;
    decodePngBands(
        file, pdfMinor, memory, 0, "",
        [&decoded](RasterImage &band) { decoded.raster = std::move(band); }, decoded);
    return decoded;
}

void decodePngBands(const ByteSource &file, int pdfMinor, const MemoryProcs &memory,
                    std::size_t bandBytes, const std::string &folder, const PngBandTaker &take,
                    DecodedPng &header) {
    ReaderOwner owner;
    Reader &r = owner.reader;
    r.file = &file;
    auto refuse = [&](const std::string &what) {
        fail(PDFW_SYNTAX_ERROR, damagedFile(file.path(), "PNG", what + " (" + r.message + ")"));
    };
    r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &r, onError, onWarning);
    r.info = r.png ? png_create_info_struct(r.png) : nullptr;
    if (!r.info) {
        fail(PDFW_MEMORY_ERROR, problemWith(PDFW_PROBLEM_MEMORY, file.path()));
    }
    if (!readHeader(r, pdfMinor >= 5)) {
        refuse("not a readable PNG file");
    }
    std::string what = "\"" + file.path() + "\" (" + std::to_string(r.width) + " x " +
                       std::to_string(r.height) + " pixels)";
    header.indexed = r.colourType == PNG_COLOR_TYPE_PALETTE;
    header.raster = bandHeader(r, header.indexed);
    if (header.indexed) {
        header.palette.assign(r.palette, r.palette + 3 * r.paletteEntries);
    }
    png_uint_32 bandRows = r.height;
    if (bandBytes > 0) {
        bandRows = static_cast<png_uint_32>(
            std::clamp<std::size_t>(bandBytes / std::max<std::size_t>(r.rowBytes, 1), 1, r.height));
    }
    checkedSize({r.rowBytes, bandRows}, what);
    // Interlaced rows come in seven passes over the whole picture: in bands, the passes are put
    // together in a file, not in memory.
    std::unique_ptr<RowFile> passes;
    if (r.passes > 1 && bandRows < r.height) {
        passes = std::make_unique<RowFile>(folder.empty() ? temporaryFolder() : folder, r.rowBytes,
                                           r.height);
        Buffer row(memory, r.rowBytes, "a PNG row");
        if (!readPasses(r, *passes, row.data())) {
            refuse(r.ioError != 0 ? std::string("cannot keep its rows: ") + std::strerror(r.ioError)
                                  : std::string("cannot decode the image"));
        }
    }
    for (png_uint_32 first = 0; first < r.height; first += bandRows) {
        RasterImage band = bandHeader(r, header.indexed);
        band.height = std::min(bandRows, r.height - first);
        band.pixels = Buffer(memory, r.rowBytes * band.height, "PNG pixels");
        bool read = passes ? readStored(r, *passes, first, band.pixels.data(), band.height)
                    : bandRows == r.height ? readRows(r, band.pixels.data())
                                           : readBand(r, band.pixels.data(), band.height);
        if (!read) {
            refuse("cannot decode the image");
        }
        finishBand(band, r, memory);
        take(band);
    }
}

} // namespace folvane::pdfw
