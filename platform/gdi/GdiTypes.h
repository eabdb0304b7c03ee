// Plain types and constants of the software device context: rectangles, handles, raster and
// region codes under the names the drawing code uses.
#pragma once

#include <cstdint>

// A rectangle in device units; right and bottom are exclusive.
struct RECT {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

inline bool operator==(const RECT &a, const RECT &b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline bool IsRectEmpty(const RECT &r) {
    return r.right <= r.left || r.bottom <= r.top;
}

class CDC;
class CRgn;
class CBitmap;
using HDC = CDC *;
using HRGN = CRgn *;
using HBITMAP = CBitmap *;

// Colours on a surface are 0xRRGGBB.
inline constexpr uint32_t RgbColor(uint8_t red, uint8_t green, uint8_t blue) {
    return (uint32_t{red} << 16) | (uint32_t{green} << 8) | blue;
}

// Background of a static frame filled with the window colour.
inline constexpr uint32_t kWindowColor = RgbColor(255, 255, 255);

// Region kinds returned by GetClipBox and ExtSelectClipRgn.
inline constexpr int RGN_ERROR = 0;
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;
inline constexpr int COMPLEXREGION = 3;

// Region combination modes.
inline constexpr int RGN_AND = 1;
inline constexpr int RGN_OR = 2;
inline constexpr int RGN_COPY = 5;

// Stretch modes. Every stretch here picks the nearest source pixel; the mode is kept and
// reported so callers can be checked.
inline constexpr int BLACKONWHITE = 1;
inline constexpr int WHITEONBLACK = 2;
inline constexpr int COLORONCOLOR = 3;
inline constexpr int HALFTONE = 4;

// Colour table usage of a BITMAPINFO: the palette holds RGBQUAD colours.
inline constexpr uint32_t DIB_RGB_COLORS = 0;

// Raster operation: copy the source.
inline constexpr uint32_t SRCCOPY = 0x00CC0020;
