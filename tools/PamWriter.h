// Writes a CfImage as a PAM file: P7, 8-bit RGB_ALPHA, top row first. Header-only so that
// tests can use it directly.
#pragma once

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "image/CfImage.h"
#include "image/SafeSize.h"

namespace folvane::tools {
namespace detail {

struct FileCloser {
    void operator()(FILE *file) const { fclose(file); }
};

// One image row (bottom-up index y) as RGBA bytes.
inline void convertRow(const CfImage &image, int32_t y, uint8_t *out) {
    const int32_t width = static_cast<int32_t>(image.GetWidth());
    const int32_t key = image.GetTransparentIndex();
    const bool palette = image.HasPalette();
    const bool keyIndex = palette && key >= 0 && uint32_t(key) < image.GetColorCount();
    const bool keyColour = !palette && key >= 0;
    const RGBQUAD keyRgb = image.info.transparentColor;
    for (int32_t x = 0; x < width; ++x, out += 4) {
        RGBQUAD colour;
        bool hidden = false;
        if (palette) {
            const uint8_t index = image.PixelIndexAtUnguarded(x, y);
            colour = image.PaletteEntry(index);
            hidden = keyIndex && index == key;
        } else {
            const uint8_t *pixel = image.PixelPointer(x, y);
            colour = RGBQUAD{pixel[0], pixel[1], pixel[2], 0};
            hidden = keyColour && colour.rgbBlue == keyRgb.rgbBlue &&
                     colour.rgbGreen == keyRgb.rgbGreen && colour.rgbRed == keyRgb.rgbRed;
        }
        out[0] = colour.rgbRed;
        out[1] = colour.rgbGreen;
        out[2] = colour.rgbBlue;
        out[3] = hidden ? 0 : image.HasAlphaChannel() ? image.AlphaAtUnguarded(x, y) : 255;
    }
}

} // namespace detail

// Colour: palette entries expanded, 24-bit pixels as stored. Alpha: the alpha plane where the
// image has one, else 255; pixels that the image's transparent key hides (the transparent
// palette index, or the transparent colour of a 24-bit image whose transparent index is set,
// as drawing treats them) get 0. Returns false with a reason in error when the image has no
// pixels or the file cannot be written.
inline bool writePam(const CfImage &image, const char *path, std::string &error) {
    using namespace detail;
    if (!image.IsValid()) {
        error = "no pixels to write (header-only decode or empty image)";
        return false;
    }
    const uint32_t width = image.GetWidth();
    const uint32_t height = image.GetHeight();
    const auto rowBytes = SafeSize::mul(width, 4);
    if (!rowBytes) {
        error = "image too wide";
        return false;
    }
    std::unique_ptr<FILE, FileCloser> file(fopen(path, "wb"));
    if (!file) {
        error = std::string("cannot create ") + path + ": " + strerror(errno);
        return false;
    }
    fprintf(file.get(),
            "P7\nWIDTH %u\nHEIGHT %u\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n", width,
            height);
    std::vector<uint8_t> row(*rowBytes);
    // Rows are stored bottom-up; the file wants the top row first.
    for (uint32_t y = height; y-- > 0;) {
        convertRow(image, int32_t(y), row.data());
        if (fwrite(row.data(), 1, row.size(), file.get()) != row.size()) {
            error = std::string("cannot write ") + path + ": " + strerror(errno);
            return false;
        }
    }
    if (fclose(file.release()) != 0) {
        error = std::string("cannot write ") + path + ": " + strerror(errno);
        return false;
    }
    return true;
}

} // namespace folvane::tools
