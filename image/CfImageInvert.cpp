// CfImage::InvertColors: the negative of an image, as icons with an all-transparent mask ask.

#include "image/CfImage.h"

namespace {

bool IsIdentityGreyRamp(const RGBQUAD *palette, uint32_t count) {
    for (uint32_t j = 0; j < count; ++j) {
        const RGBQUAD &e = palette[j];
        if (e.rgbBlue != j || e.rgbGreen != j || e.rgbRed != j) {
            return false;
        }
    }
    return true;
}

} // namespace

bool CfImage::InvertColors() {
    if (!IsValid()) {
        return false;
    }
    const uint32_t width = GetWidth();
    const uint32_t height = GetHeight();
    if (!HasPalette()) {
        for (uint32_t y = 0; y < height; ++y) {
            uint8_t *row = RowPointer(y);
            for (uint32_t x = 0; x < width; ++x) {
                if (!selection || selection[static_cast<size_t>(y) * width + x] != 0) {
                    for (int c = 0; c < 3; ++c) {
                        row[3 * x + c] = static_cast<uint8_t>(255 - row[3 * x + c]);
                    }
                }
            }
        }
        RGBQUAD &t = info.transparentColor;
        t.rgbBlue = static_cast<uint8_t>(255 - t.rgbBlue);
        t.rgbGreen = static_cast<uint8_t>(255 - t.rgbGreen);
        t.rgbRed = static_cast<uint8_t>(255 - t.rgbRed);
        return true;
    }
    RGBQUAD *palette = PalettePointer();
    const uint32_t count = GetColorCount();
    if (!IsIdentityGreyRamp(palette, count)) {
        for (uint32_t j = 0; j < count; ++j) {
            palette[j].rgbBlue = static_cast<uint8_t>(255 - palette[j].rgbBlue);
            palette[j].rgbGreen = static_cast<uint8_t>(255 - palette[j].rgbGreen);
            palette[j].rgbRed = static_cast<uint8_t>(255 - palette[j].rgbRed);
        }
        info.nearestValid = false;
        return true;
    }
    // The indices are the grey levels: invert them, so index i becomes count - 1 - i.
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            if (!selection || selection[static_cast<size_t>(y) * width + x] != 0) {
                const int32_t xi = static_cast<int32_t>(x);
                const int32_t yi = static_cast<int32_t>(y);
                PutPixelIndexUnguarded(
                    xi, yi, static_cast<uint8_t>(count - 1 - PixelIndexAtUnguarded(xi, yi)));
            }
        }
    }
    return true;
}
