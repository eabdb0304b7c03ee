#include "tests/support/LargeImages.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include <png.h>

namespace support {

namespace {

// Kept free of objects with destructors: libpng's error exit jumps across it.
bool EncodeRows(FILE *file, const PngImage &image, const RowMaker *rows, uint8_t *row) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, image.width, image.height, image.bitDepth,
                 static_cast<int>(image.colour), PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (uint32_t y = 0; y < image.height; ++y) {
        (*rows)(y, row);
        png_write_row(png, row);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

void WriteTiffRows(const std::string &path, const TiffPage &page, const RowMaker &rows) {
    TIFF *tif = TIFFOpen(path.c_str(), "w8");
    if (tif == nullptr) {
        throw std::runtime_error("WriteTiffRows: cannot create " + path);
    }
    const uint32_t perStrip = page.rowsPerStrip == 0 ? 16 : page.rowsPerStrip;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, page.width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, page.height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, page.samplesPerPixel);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, page.bitsPerSample);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, page.photometric);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, page.compression);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, perStrip);
    if (page.compression == COMPRESSION_ADOBE_DEFLATE) {
        TIFFSetField(tif, TIFFTAG_ZIPQUALITY, 1);
    }
    const std::size_t rowBytes = page.RowBytes();
    std::vector<uint8_t> strip(rowBytes * perStrip);
    bool written = true;
    for (uint32_t y = 0, index = 0; y < page.height && written; y += perStrip, ++index) {
        const uint32_t count = std::min(perStrip, page.height - y);
        for (uint32_t r = 0; r < count; ++r) {
            rows(y + r, strip.data() + r * rowBytes);
        }
        written = TIFFWriteEncodedStrip(tif, index, strip.data(),
                                        static_cast<tmsize_t>(count * rowBytes)) >= 0;
    }
    written = written && TIFFWriteDirectory(tif);
    TIFFClose(tif);
    if (!written) {
        throw std::runtime_error("WriteTiffRows: libtiff refused " + path);
    }
}

void WritePngRows(const std::string &path, const PngImage &image, const RowMaker &rows) {
    FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        throw std::runtime_error("WritePngRows: cannot create " + path);
    }
    std::vector<uint8_t> row(image.RowBytes());
    bool encoded = EncodeRows(file, image, &rows, row.data());
    bool closed = std::fclose(file) == 0;
    if (!encoded || !closed) {
        throw std::runtime_error("WritePngRows: libpng refused " + path);
    }
}

} // namespace support
