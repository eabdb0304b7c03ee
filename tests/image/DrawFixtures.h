// Shared pieces of the drawing tests: a window surface with its context, and images whose
// every pixel tells where it came from.
#pragma once

#include <cstdint>

#include "image/CfImage.h"
#include "platform/gdi/Gdi.h"

struct TestWindow {
    TestWindow(int32_t w, int32_t h, uint32_t background = kWindowColor)
        : surface(w, h), dc(GetWindowDC(&surface)) {
        surface.Fill(surface.Bounds(), background);
    }
    ~TestWindow() { ReleaseDC(&surface, dc); }
    const CallLog &Log() const { return dc->Log(); }
    CSurface surface;
    HDC dc;
};

// Colour of source pixel (x, stored row): red x, green row, blue 7.
inline uint32_t Tag(int32_t x, int32_t row) {
    return RgbColor(static_cast<uint8_t>(x), static_cast<uint8_t>(row), 7);
}

// A 24-bit image whose pixel (x, row) is Tag(x, row); width and height below 256.
inline void MakeTagged(CfImage &image, uint32_t w, uint32_t h) {
    image.Create(w, h, 24);
    for (uint32_t row = 0; row < h; ++row) {
        for (uint32_t x = 0; x < w; ++x) {
            image.PutPixelColor(x, row, RGBQUAD{7, uint8_t(row), uint8_t(x), 0});
        }
    }
}

// A 24-bit image of one grey value per pixel, given row by row from the bottom.
template <size_t N>
void MakeGrey(CfImage &image, uint32_t w, uint32_t h, const uint8_t (&values)[N]) {
    image.Create(w, h, 24);
    for (uint32_t row = 0; row < h; ++row) {
        for (uint32_t x = 0; x < w; ++x) {
            const uint8_t v = values[row * w + x];
            image.PutPixelColor(x, row, RGBQUAD{v, v, v, 0});
        }
    }
}

inline uint8_t Blue(uint32_t rgb) {
    return rgb & 0xFF;
}
