#include "tests/pdfw/PngTestSupport.h"

#include <cstring>
#include <stdexcept>

#include <png.h>

namespace pdfw_test {

namespace {

void writeBytes(png_structp png, png_bytep data, png_size_t size) {
    auto *out = static_cast<Bytes *>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void flushNothing(png_structp) {}

struct Reading {
    const Bytes *png;
    std::size_t at;
};

void readBytes(png_structp png, png_bytep data, png_size_t size) {
    auto *r = static_cast<Reading *>(png_get_io_ptr(png));
    if (r->at + size > r->png->size()) {
        png_error(png, "end of data");
    }
    std::memcpy(data, r->png->data() + r->at, size);
    r->at += size;
}

} // namespace

int pngRowBytes(const PngSpec &spec) {
    int channels = spec.colourType == 2   ? 3
                   : spec.colourType == 4 ? 2
                   : spec.colourType == 6 ? 4
                                          : 1;
    return (spec.width * channels * spec.bitDepth + 7) / 8;
}

Bytes makePng(const PngSpec &spec, const Bytes &rows) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng could not write the test PNG");
    }
    png_set_write_fn(png, &out, writeBytes, flushNothing);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colourType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!spec.palette.empty()) {
        png_set_PLTE(png, info, reinterpret_cast<png_const_colorp>(spec.palette.data()),
                     static_cast<int>(spec.palette.size() / 3));
    }
    if (!spec.transparency.empty()) {
        if (spec.colourType == PNG_COLOR_TYPE_PALETTE) {
            png_set_tRNS(png, info, spec.transparency.data(),
                         static_cast<int>(spec.transparency.size()), nullptr);
        } else {
            png_color_16 key{};
            auto at = [&](int i) {
                return static_cast<png_uint_16>(spec.transparency[i] << 8 |
                                                spec.transparency[i + 1]);
            };
            key.gray = at(0);
            if (spec.transparency.size() == 6) {
                key.red = at(0), key.green = at(2), key.blue = at(4);
            }
            png_set_tRNS(png, info, nullptr, 0, &key);
        }
    }
    if (!spec.iccProfile.empty()) {
        png_set_iCCP(png, info, "test", PNG_COMPRESSION_TYPE_BASE, spec.iccProfile.data(),
                     static_cast<png_uint_32>(spec.iccProfile.size()));
    }
    png_write_info(png, info);
    int passes = spec.interlaced ? png_set_interlace_handling(png) : 1;
    int rowBytes = pngRowBytes(spec);
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < spec.height; ++y) {
            png_write_row(png, rows.data() + static_cast<std::size_t>(y) * rowBytes);
        }
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes pngImageData(const Bytes &png) {
    Bytes data;
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        std::size_t length = static_cast<std::size_t>(png[at]) << 24 | png[at + 1] << 16 |
                             png[at + 2] << 8 | png[at + 3];
        if (std::memcmp(png.data() + at + 4, "IDAT", 4) == 0) {
            data.insert(data.end(), png.begin() + at + 8, png.begin() + at + 8 + length);
        }
        at += length + 12;
    }
    return data;
}

Rgb readPng(const Bytes &bytes) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    Reading reading{&bytes, 0};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return Rgb{};
    }
    png_set_read_fn(png, &reading, readBytes);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    Rgb image;
    image.width = static_cast<int>(png_get_image_width(png, info));
    image.height = static_cast<int>(png_get_image_height(png, info));
    Bytes rgba(static_cast<std::size_t>(image.width) * image.height * 4);
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < image.height; ++y) {
            png_read_row(png, rgba.data() + static_cast<std::size_t>(y) * image.width * 4, nullptr);
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        unsigned alpha = rgba[i + 3];
        for (int c = 0; c < 3; ++c) {
            image.pixels.push_back(static_cast<unsigned char>(
                (rgba[i + c] * alpha + 255 * (255 - alpha) + 127) / 255));
        }
    }
    return image;
}

} // namespace pdfw_test
