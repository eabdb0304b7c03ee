#include "tests/support/Png.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <stdexcept>
#include <string>

#include <png.h>
#include <zlib.h>

namespace support {

namespace {

void AppendToBytes(png_structp png, png_bytep data, png_size_t length) {
    auto *out = static_cast<Bytes *>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

// Kept free of objects with destructors: libpng's error exit jumps across it.
bool EncodeInto(const PngImage &image, const std::vector<png_color> &palette, png_bytepp rows,
                Bytes *out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, AppendToBytes, NoFlush);
    png_set_IHDR(png, info, image.width, image.height, image.bitDepth,
                 static_cast<int>(image.colour),
                 image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty()) {
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    }
    if (!image.transparency.empty() && image.colour == PngColour::Palette) {
        png_set_tRNS(png, info, image.transparency.data(),
                     static_cast<int>(image.transparency.size()), nullptr);
    } else if (!image.transparency.empty()) {
        png_color_16 key{};
        const auto sample = [&image](std::size_t i) {
            return static_cast<png_uint_16>(image.transparency[2 * i] << 8 |
                                            image.transparency[2 * i + 1]);
        };
        key.gray = sample(0);
        if (image.transparency.size() >= 6) {
            key.red = sample(0);
            key.green = sample(1);
            key.blue = sample(2);
        }
        png_set_tRNS(png, info, nullptr, 0, &key);
    }
    if (!image.iccProfile.empty()) {
        png_set_iCCP(png, info, "test profile", PNG_COMPRESSION_TYPE_BASE, image.iccProfile.data(),
                     static_cast<png_uint_32>(image.iccProfile.size()));
    }
    png_write_info(png, info);
    const int passes = image.interlaced ? png_set_interlace_handling(png) : 1;
    for (int pass = 0; pass < passes; ++pass) {
        png_write_rows(png, rows, image.height);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

using RowSource = std::function<void(uint32_t, uint8_t *)>;

// Kept free of objects with destructors: libpng's error exit jumps across it.
bool EncodeBandsInto(const PngImage &image, const RowSource &rows, uint8_t *row, FILE *file) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, image.width, image.height, image.bitDepth,
                 static_cast<int>(image.colour), PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, Z_BEST_SPEED);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_write_info(png, info);
    for (uint32_t y = 0; y < image.height; ++y) {
        rows(y, row);
        png_write_row(png, row);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

struct Reader {
    const Bytes &png;
    std::size_t at;
    std::vector<png_bytep> rows; // kept here: a local would be lost to libpng's error exit
};

void ReadFromBytes(png_structp png, png_bytep data, png_size_t length) {
    auto *reader = static_cast<Reader *>(png_get_io_ptr(png));
    if (length > reader->png.size() - reader->at) {
        png_error(png, "read past the end");
    }
    std::copy_n(reader->png.begin() + static_cast<long>(reader->at), length, data);
    reader->at += length;
}

// Every sample as stored (16-bit samples keep their high byte; no gamma), expanded to RGBA.
// Kept free of objects with destructors: libpng's error exit jumps across it.
bool DecodeInto(Reader *reader, Picture *picture) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, reader, ReadFromBytes);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (std::size_t{width} * height > (std::size_t{1} << 26)) {
        png_error(png, "too large for a test");
    }
    png_set_strip_16(png);
    png_set_expand(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    *picture = Blank(static_cast<int>(width), static_cast<int>(height), 4);
    for (png_uint_32 y = 0; y < height; ++y) {
        reader->rows.push_back(picture->samples.data() + std::size_t{y} * width * 4);
    }
    png_read_image(png, reader->rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

} // namespace

int PngImage::Channels() const {
    switch (colour) {
    case PngColour::Rgb:
        return 3;
    case PngColour::GreyAlpha:
        return 2;
    case PngColour::Rgba:
        return 4;
    default:
        return 1;
    }
}

PngImage PngImageOf(const Picture &picture) {
    static const PngColour byComponents[] = {PngColour::Grey, PngColour::Grey, PngColour::GreyAlpha,
                                             PngColour::Rgb, PngColour::Rgba};
    if (picture.components < 1 || picture.components > 4) {
        throw std::invalid_argument("PngImageOf: pictures of 1 to 4 components only");
    }
    PngImage image;
    image.width = static_cast<uint32_t>(picture.width);
    image.height = static_cast<uint32_t>(picture.height);
    image.colour = byComponents[picture.components];
    image.data = picture.samples;
    return image;
}

Bytes MakePng(const PngImage &image) {
    if (image.data.size() != image.RowBytes() * image.height) {
        throw std::invalid_argument("MakePng: the data is not height rows of the image's size");
    }
    std::vector<png_color> palette;
    for (uint32_t entry : image.palette) {
        palette.push_back({static_cast<png_byte>(entry >> 16), static_cast<png_byte>(entry >> 8),
                           static_cast<png_byte>(entry)});
    }
    std::vector<png_bytep> rows;
    for (uint32_t y = 0; y < image.height; ++y) {
        rows.push_back(const_cast<png_bytep>(image.data.data() + y * image.RowBytes()));
    }
    Bytes out;
    if (!EncodeInto(image, palette, rows.data(), &out)) {
        throw std::runtime_error("MakePng: libpng refused the image");
    }
    // The caller's chunks go just before the image data, after PLTE and tRNS.
    std::size_t at = 8;
    while (at + 8 <= out.size() &&
           Text(Bytes(out.begin() + at + 4, out.begin() + at + 8)) != "IDAT") {
        at += 12 + (std::size_t{out[at]} << 24 | std::size_t{out[at + 1]} << 16 |
                    std::size_t{out[at + 2]} << 8 | out[at + 3]);
    }
    Bytes extra;
    for (const auto &[type, body] : image.chunks) {
        Bytes chunk(type.begin(), type.end());
        Append(chunk, body);
        PutBe32(extra, static_cast<uint32_t>(body.size()));
        Append(extra, chunk);
        PutBe32(extra,
                static_cast<uint32_t>(crc32(0, chunk.data(), static_cast<uInt>(chunk.size()))));
    }
    out.insert(out.begin() + static_cast<long>(std::min(at, out.size())), extra.begin(),
               extra.end());
    return out;
}

void WritePngInBands(const std::string &path, const PngImage &image, const RowSource &rows) {
    if (image.interlaced || image.colour == PngColour::Palette) {
        throw std::invalid_argument("WritePngInBands: non-interlaced images without palette");
    }
    FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        throw std::runtime_error("WritePngInBands: cannot create " + path);
    }
    std::vector<uint8_t> row(image.RowBytes());
    const bool written = EncodeBandsInto(image, rows, row.data(), file);
    if (std::fclose(file) != 0 || !written) {
        throw std::runtime_error("WritePngInBands: libpng refused or the file was not written");
    }
}

Picture DecodePng(const Bytes &png) {
    Reader reader{png, 0, {}};
    Picture picture;
    if (!DecodeInto(&reader, &picture)) {
        return {};
    }
    return picture;
}

} // namespace support
