// Pixel transfers: DIB rows to device rows, stretching and flipping, clipping, memory
// contexts with DIB sections.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/gdi/Gdi.h"

namespace {

// A packed DIB: header, palette, bottom-up rows, built pixel by pixel.
struct TestDib {
    TestDib(int32_t w, int32_t h, uint16_t bits, std::vector<RGBQUAD> palette = {})
        : stride((w * bits + 31) / 32 * 4), colors(palette.size()) {
        bytes.resize(40 + 4 * palette.size() + stride * h);
        BITMAPINFOHEADER header{};
        header.biSize = 40;
        header.biWidth = w;
        header.biHeight = h;
        header.biPlanes = 1;
        header.biBitCount = bits;
        header.biClrUsed = static_cast<uint32_t>(palette.size());
        std::memcpy(bytes.data(), &header, 40);
        if (!palette.empty()) {
            std::memcpy(bytes.data() + 40, palette.data(), 4 * palette.size());
        }
    }
    const BITMAPINFO *Info() const { return reinterpret_cast<const BITMAPINFO *>(bytes.data()); }
    uint8_t *Row(int32_t row) { return bytes.data() + 40 + 4 * colors + row * stride; }
    void Put24(int32_t x, int32_t row, uint32_t rgb) {
        uint8_t *p = Row(row) + 3 * x;
        p[0] = rgb & 0xFF;
        p[1] = (rgb >> 8) & 0xFF;
        p[2] = (rgb >> 16) & 0xFF;
    }
    int32_t stride;
    size_t colors;
    std::vector<uint8_t> bytes;
};

// Distinct colour for each source pixel, so a wrong mapping cannot pass by chance.
uint32_t Tag(int32_t x, int32_t row) {
    return RgbColor(10 + x, 100 + row, 200);
}

TestDib Tagged(int32_t w, int32_t h) {
    TestDib dib(w, h, 24);
    for (int32_t row = 0; row < h; ++row) {
        for (int32_t x = 0; x < w; ++x) {
            dib.Put24(x, row, Tag(x, row));
        }
    }
    return dib;
}

struct Window {
    Window(int32_t w, int32_t h) : surface(w, h), dc(GetWindowDC(&surface)) {}
    ~Window() { ReleaseDC(&surface, dc); }
    CSurface surface;
    HDC dc;
};

TEST(GdiSetDIBits, BottomRowOfTheDibLandsAtTheBottom) {
    Window w(8, 8);
    TestDib dib = Tagged(3, 2);
    EXPECT_EQ(
        SetDIBitsToDevice(w.dc, 1, 1, 3, 2, 0, 0, 0, 2, dib.Row(0), dib.Info(), DIB_RGB_COLORS), 2);
    for (int32_t x = 0; x < 3; ++x) {
        EXPECT_EQ(w.surface.PixelAt(1 + x, 1), Tag(x, 1));
        EXPECT_EQ(w.surface.PixelAt(1 + x, 2), Tag(x, 0));
    }
    EXPECT_EQ(w.surface.PixelAt(0, 1), kWindowColor);
    EXPECT_EQ(w.surface.PixelAt(4, 1), kWindowColor);
    EXPECT_EQ(w.surface.PixelAt(1, 3), kWindowColor);
}

TEST(GdiSetDIBits, PaletteImagesOfEveryDepth) {
    const std::vector<RGBQUAD> palette = {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};
    Window w(8, 3);
    TestDib one(8, 1, 1, {palette[0], palette[1]});
    one.Row(0)[0] = 0b01000001;
    SetDIBitsToDevice(w.dc, 0, 0, 8, 1, 0, 0, 0, 1, one.Row(0), one.Info(), DIB_RGB_COLORS);
    EXPECT_EQ(w.surface.PixelAt(0, 0), RgbColor(255, 0, 0));
    EXPECT_EQ(w.surface.PixelAt(1, 0), RgbColor(0, 255, 0));
    EXPECT_EQ(w.surface.PixelAt(7, 0), RgbColor(0, 255, 0));

    TestDib four(3, 1, 4, palette);
    four.Row(0)[0] = 0x21;
    four.Row(0)[1] = 0x70; // index 7 is past the three colours: black
    SetDIBitsToDevice(w.dc, 0, 1, 3, 1, 0, 0, 0, 1, four.Row(0), four.Info(), DIB_RGB_COLORS);
    EXPECT_EQ(w.surface.PixelAt(0, 1), RgbColor(0, 0, 255));
    EXPECT_EQ(w.surface.PixelAt(1, 1), RgbColor(0, 255, 0));
    EXPECT_EQ(w.surface.PixelAt(2, 1), RgbColor(0, 0, 0));

    TestDib eight(2, 1, 8, palette);
    eight.Row(0)[0] = 2;
    eight.Row(0)[1] = 200;
    SetDIBitsToDevice(w.dc, 0, 2, 2, 1, 0, 0, 0, 1, eight.Row(0), eight.Info(), DIB_RGB_COLORS);
    EXPECT_EQ(w.surface.PixelAt(0, 2), RgbColor(0, 0, 255));
    EXPECT_EQ(w.surface.PixelAt(1, 2), RgbColor(0, 0, 0));
}

TEST(GdiSetDIBits, StaysInsideClipAndSourceBounds) {
    Window w(10, 10);
    RECT clip{2, 2, 5, 5};
    HRGN region = CreateRectRgnIndirect(&clip);
    ExtSelectClipRgn(w.dc, region, RGN_AND);
    DeleteObject(region);
    TestDib dib = Tagged(4, 4);
    // Asks for columns far beyond the DIB and the surface.
    SetDIBitsToDevice(w.dc, 0, 0, 0x7FFFFFFF, 4, 0, 0, 0, 4, dib.Row(0), dib.Info(),
                      DIB_RGB_COLORS);
    for (int32_t y = 0; y < 10; ++y) {
        for (int32_t x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 4 && y >= 2 && y < 4;
            EXPECT_EQ(w.surface.PixelAt(x, y) != kWindowColor, inside) << x << "," << y;
        }
    }
}

TEST(GdiStretchDIBits, NegativeHeightShowsThePictureUpsideDown) {
    Window w(6, 6);
    TestDib dib = Tagged(3, 3);
    // Destination rows 1 to 3, starting from row 3 upwards.
    EXPECT_EQ(StretchDIBits(w.dc, 1, 3, 3, -3, 0, 0, 3, 3, dib.Row(0), dib.Info(), DIB_RGB_COLORS,
                            SRCCOPY),
              3);
    for (int32_t x = 0; x < 3; ++x) {
        EXPECT_EQ(w.surface.PixelAt(1 + x, 1), Tag(x, 0));
        EXPECT_EQ(w.surface.PixelAt(1 + x, 2), Tag(x, 1));
        EXPECT_EQ(w.surface.PixelAt(1 + x, 3), Tag(x, 2));
    }
    EXPECT_EQ(w.surface.PixelAt(1, 0), kWindowColor);
    EXPECT_EQ(w.surface.PixelAt(1, 4), kWindowColor);
}

TEST(GdiStretchDIBits, EnlargesAndMirrorsByNearestPixel) {
    Window w(8, 8);
    TestDib dib = Tagged(2, 2);
    StretchDIBits(w.dc, 0, 0, 4, 4, 0, 0, 2, 2, dib.Row(0), dib.Info(), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(w.surface.PixelAt(0, 0), Tag(0, 1));
    EXPECT_EQ(w.surface.PixelAt(1, 1), Tag(0, 1));
    EXPECT_EQ(w.surface.PixelAt(2, 1), Tag(1, 1));
    EXPECT_EQ(w.surface.PixelAt(3, 3), Tag(1, 0));
    // Negative width from column 7 leftwards: column 7 shows source column 0.
    StretchDIBits(w.dc, 7, 4, -2, 2, 0, 0, 2, 2, dib.Row(0), dib.Info(), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(w.surface.PixelAt(7, 4), Tag(0, 1));
    EXPECT_EQ(w.surface.PixelAt(6, 4), Tag(1, 1));
    EXPECT_EQ(w.surface.PixelAt(5, 4), kWindowColor);
}

TEST(GdiStretchDIBits, RefusesWhatItCannotDraw) {
    Window w(4, 4);
    TestDib dib = Tagged(2, 2);
    EXPECT_EQ(StretchDIBits(w.dc, 0, 0, 0, 2, 0, 0, 2, 2, dib.Row(0), dib.Info(), DIB_RGB_COLORS,
                            SRCCOPY),
              0);
    EXPECT_EQ(
        StretchDIBits(w.dc, 0, 0, 2, 2, 0, 0, 2, 2, dib.Row(0), dib.Info(), DIB_RGB_COLORS, 0), 0);
    TestDib compressed = Tagged(2, 2);
    reinterpret_cast<BITMAPINFOHEADER *>(compressed.bytes.data())->biCompression = BI_RLE8;
    EXPECT_EQ(StretchDIBits(w.dc, 0, 0, 2, 2, 0, 0, 2, 2, compressed.Row(0), compressed.Info(),
                            DIB_RGB_COLORS, SRCCOPY),
              0);
    EXPECT_EQ(w.surface.PixelAt(0, 0), kWindowColor);
}

BITMAPINFOHEADER SectionHeader(int32_t w, int32_t h, uint16_t bits = 24) {
    BITMAPINFOHEADER header{};
    header.biSize = 40;
    header.biWidth = w;
    header.biHeight = h;
    header.biPlanes = 1;
    header.biBitCount = bits;
    return header;
}

TEST(GdiMemoryDC, SectionRoundTripThroughBitBlt) {
    Window w(6, 4);
    w.surface.SetPixel(2, 1, RgbColor(1, 2, 3));
    w.surface.SetPixel(3, 2, RgbColor(4, 5, 6));
    HDC mem = CreateCompatibleDC(w.dc);
    ASSERT_NE(mem, nullptr);
    BITMAPINFOHEADER header = SectionHeader(2, 2);
    void *bits = nullptr;
    HBITMAP section = CreateDIBSection(w.dc, reinterpret_cast<const BITMAPINFO *>(&header),
                                       DIB_RGB_COLORS, &bits);
    ASSERT_NE(section, nullptr);
    ASSERT_NE(bits, nullptr);
    HBITMAP old = SelectObject(mem, section);
    ASSERT_NE(old, nullptr);
    EXPECT_FALSE(DeleteObject(section)) << "selected bitmaps stay alive";

    EXPECT_TRUE(BitBlt(mem, 0, 0, 2, 2, w.dc, 2, 1, SRCCOPY));
    const auto *rows = static_cast<const uint8_t *>(bits);
    // Section row 0 is the bottom row: device row 2.
    EXPECT_EQ(rows[3], 6);
    EXPECT_EQ(rows[4], 5);
    EXPECT_EQ(rows[5], 4);
    EXPECT_EQ(rows[8 + 0], 3); // row 1 starts after the 8-byte padded row 0
    EXPECT_EQ(rows[8 + 2], 1);

    SetDIBitsToDevice(w.dc, 0, 0, 2, 2, 0, 0, 0, 2, bits,
                      reinterpret_cast<const BITMAPINFO *>(&header), DIB_RGB_COLORS);
    EXPECT_EQ(w.surface.PixelAt(0, 0), RgbColor(1, 2, 3));
    EXPECT_EQ(w.surface.PixelAt(1, 1), RgbColor(4, 5, 6));

    EXPECT_EQ(SelectObject(mem, old), section);
    EXPECT_TRUE(DeleteObject(section));
    EXPECT_TRUE(DeleteDC(mem));
    EXPECT_EQ(w.dc->Log().Names(), (std::vector<std::string>{
                                       "CreateCompatibleDC", "CreateDIBSection", "SelectObject",
                                       "BitBlt", "SetDIBitsToDevice", "SelectObject", "DeleteDC"}));
}

TEST(GdiMemoryDC, SectionsOnlyForSaneHeaders) {
    void *bits = reinterpret_cast<void *>(1);
    for (const BITMAPINFOHEADER &header :
         {SectionHeader(0, 5), SectionHeader(5, -5), SectionHeader(5, 5, 8),
          SectionHeader(0x7FFFFFFF, 0x7FFFFFFF)}) {
        EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO *>(&header),
                                   DIB_RGB_COLORS, &bits),
                  nullptr);
        EXPECT_EQ(bits, nullptr);
    }
}

TEST(GdiMemoryDC, WindowContextsTakeNoBitmap) {
    Window w(2, 2);
    BITMAPINFOHEADER header = SectionHeader(1, 1);
    HBITMAP section = CreateDIBSection(w.dc, reinterpret_cast<const BITMAPINFO *>(&header),
                                       DIB_RGB_COLORS, nullptr);
    EXPECT_EQ(SelectObject(w.dc, section), nullptr);
    EXPECT_FALSE(DeleteDC(w.dc));
    EXPECT_TRUE(DeleteObject(section));
}

} // namespace
