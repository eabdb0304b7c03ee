#include "PngTestFiles.h"

#include <csetjmp>
#include <cstring>

#include <png.h>

namespace {

int Channels(int colorType) {
    switch (colorType) {
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        return 4;
    default:
        return 1;
    }
}

void AppendToBytes(png_structp png, png_bytep data, size_t length) {
    auto *out = static_cast<Bytes *>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

// Writes everything in one setjmp frame that holds only pointers; the vector it fills lives
// in the caller's frame.
bool WriteInto(Bytes &out, const PngPicture &p, png_bytep *rowPointers) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, AppendToBytes, NoFlush);
    png_set_IHDR(png, info, p.width, p.height, p.bitDepth, p.colorType,
                 p.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!p.palette.empty()) {
        png_set_PLTE(png, info, reinterpret_cast<png_const_colorp>(p.palette.data()),
                     static_cast<int>(p.palette.size() / 3));
    }
    if (!p.transparency.empty()) {
        png_color_16 colour{};
        if (p.colorType == PNG_COLOR_TYPE_GRAY) {
            colour.gray = static_cast<png_uint_16>(p.transparency[0] << 8 | p.transparency[1]);
        } else if (p.colorType == PNG_COLOR_TYPE_RGB) {
            colour.red = static_cast<png_uint_16>(p.transparency[0] << 8 | p.transparency[1]);
            colour.green = static_cast<png_uint_16>(p.transparency[2] << 8 | p.transparency[3]);
            colour.blue = static_cast<png_uint_16>(p.transparency[4] << 8 | p.transparency[5]);
        }
        png_set_tRNS(png, info, p.transparency.data(), static_cast<int>(p.transparency.size()),
                     &colour);
    }
    if (p.pixelsPerMetre != 0) {
        png_set_pHYs(png, info, p.pixelsPerMetre, p.pixelsPerMetre, PNG_RESOLUTION_METER);
    }
    png_text text{};
    if (!p.text.empty()) {
        text.compression = PNG_TEXT_COMPRESSION_zTXt;
        text.key = const_cast<char *>("Comment");
        text.text = const_cast<char *>(p.text.c_str());
        png_set_text(png, info, &text, 1);
    }
    png_write_info(png, info);
    png_write_image(png, rowPointers);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

size_t PngPicture::RowBytes() const {
    return (size_t{width} * Channels(colorType) * bitDepth + 7) / 8;
}

PngPicture PatternPicture(uint32_t width, uint32_t height, int colorType, int bitDepth) {
    PngPicture p;
    p.width = width;
    p.height = height;
    p.colorType = colorType;
    p.bitDepth = bitDepth;
    p.rows.resize(p.RowBytes() * height);
    const uint32_t samples = width * Channels(colorType);
    const uint32_t mask = bitDepth == 16 ? 0xFFFF : (1u << bitDepth) - 1;
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t *row = p.rows.data() + y * p.RowBytes();
        for (uint32_t s = 0; s < samples; ++s) {
            const uint32_t value = ((s * 7919 + y * 104729 + 17) * 2654435761u >> 9) & mask;
            if (bitDepth == 16) {
                row[2 * s] = static_cast<uint8_t>(value >> 8);
                row[2 * s + 1] = static_cast<uint8_t>(value);
            } else if (bitDepth == 8) {
                row[s] = static_cast<uint8_t>(value);
            } else {
                const uint32_t bit = s * bitDepth;
                row[bit / 8] |= static_cast<uint8_t>(value << (8 - bitDepth - bit % 8));
            }
        }
    }
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        for (uint32_t i = 0; i < (1u << bitDepth); ++i) {
            p.palette.push_back(static_cast<uint8_t>(i * 37 + 5));
            p.palette.push_back(static_cast<uint8_t>(255 - i * 11));
            p.palette.push_back(static_cast<uint8_t>(i * 91));
        }
    }
    return p;
}

Bytes WritePng(const PngPicture &picture) {
    std::vector<png_bytep> rows(picture.height);
    Bytes copy = picture.rows;
    for (uint32_t y = 0; y < picture.height; ++y) {
        rows[y] = copy.data() + y * picture.RowBytes();
    }
    Bytes out;
    if (!WriteInto(out, picture, rows.data())) {
        out.clear();
    }
    return out;
}

Bytes ReadPngAsRgba(const Bytes &png) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) {
        return {};
    }
    image.format = PNG_FORMAT_RGBA;
    image.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    Bytes rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return {};
    }
    return rgba;
}
