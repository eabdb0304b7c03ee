// Bit depths of the BMP decoder: palette images at 1, 2, 4 and 8 bits, 16-bit pixels with and
// without masks, 24-bit rows, 32-bit pixels with their alpha byte, colour tables of odd sizes.

#include <gtest/gtest.h>

#include "image/codecs/CfImageBMP.h"
#include "tests/image/ImageTestSupport.h"
#include "tests/support/Bmp.h"

namespace {

using namespace imagetest;
using namespace support;

using Rows = std::vector<std::vector<uint8_t>>;

BmpFile PaletteFile(int bits, const Rows &rows, std::vector<uint32_t> palette) {
    BmpFile bmp;
    bmp.bits = static_cast<uint16_t>(bits);
    bmp.width = static_cast<int32_t>(rows[0].size());
    bmp.height = static_cast<int32_t>(rows.size());
    bmp.palette = std::move(palette);
    bmp.colorsUsed = static_cast<uint32_t>(bmp.palette.size());
    bmp.pixels = PackIndexRows(rows, bits);
    return bmp;
}

void ExpectIndices(const CfImage &image, const Rows &rows) {
    for (size_t y = 0; y < rows.size(); ++y) {
        for (size_t x = 0; x < rows[y].size(); ++x) {
            EXPECT_EQ(image.PixelIndexAt(static_cast<int32_t>(x), static_cast<int32_t>(y)),
                      rows[y][x])
                << "pixel " << x << ", " << y;
        }
    }
}

TEST(BmpDepth, PaletteImagesKeepTheirIndices) {
    const Rows rows = {{1, 0, 1, 1, 0, 0, 1, 0, 1}, {0, 1, 0, 0, 1, 1, 0, 1, 0}};
    for (int bits : {1, 4, 8}) {
        SCOPED_TRACE(bits);
        CfImageBMP image;
        ASSERT_TRUE(DecodeBytes(image, MakeBmp(PaletteFile(bits, rows, {0x000000, 0xFF8000}))))
            << image.GetLastError();
        EXPECT_EQ(image.GetBitsPerPixel(), bits);
        ExpectIndices(image, rows);
        EXPECT_EQ(PixelAt(image, 0, 0), (Bgra{0x00, 0x80, 0xFF, 255}));
        EXPECT_EQ(PixelAt(image, 1, 0), (Bgra{0, 0, 0, 255}));
    }
}

TEST(BmpDepth, FourBitOddWidthAndSixteenColours) {
    const Rows rows = {{15, 0, 7}, {3, 12, 9}};
    std::vector<uint32_t> palette;
    for (uint32_t i = 0; i < 16; ++i) {
        palette.push_back(i * 0x101010);
    }
    CfImageBMP image;
    ASSERT_TRUE(DecodeBytes(image, MakeBmp(PaletteFile(4, rows, palette))));
    ExpectIndices(image, rows);
    EXPECT_EQ(PixelAt(image, 2, 1), (Bgra{0x90, 0x90, 0x90, 255}));
}

TEST(BmpDepth, TwoBitFilesBecomeFourBitImages) {
    const Rows rows = {{0, 1, 2, 3, 2}, {3, 3, 0, 1, 1}};
    CfImageBMP image;
    ASSERT_TRUE(
        DecodeBytes(image, MakeBmp(PaletteFile(2, rows, {0x000000, 0x0000FF, 0x00FF00, 0xFF0000}))))
        << image.GetLastError();
    EXPECT_EQ(image.GetBitsPerPixel(), 4);
    EXPECT_EQ(image.GetColorCount(), 16u);
    ExpectIndices(image, rows);
    EXPECT_EQ(PixelAt(image, 3, 0), (Bgra{0, 0, 255, 255}));
    EXPECT_EQ(image.PaletteEntry(4), (RGBQUAD{0, 0, 0, 0}));
}

TEST(BmpDepth, ShortColourTableLeavesTheRestBlack) {
    const Rows rows = {{0, 1, 2}};
    CfImageBMP image;
    ASSERT_TRUE(DecodeBytes(image, MakeBmp(PaletteFile(8, rows, {0x112233, 0x445566}))));
    EXPECT_EQ(image.GetColorCount(), 256u);
    EXPECT_EQ(PixelAt(image, 1, 0), (Bgra{0x66, 0x55, 0x44, 255}));
    EXPECT_EQ(PixelAt(image, 2, 0), (Bgra{0, 0, 0, 255}));
}

TEST(BmpDepth, OversizedColourTableIsReadPastAndNotStored) {
    // A bare header with 300 table entries: the pixels follow the whole table.
    std::vector<uint32_t> palette(300, 0x010203);
    palette[255] = 0xABCDEF;
    BmpFile bmp = PaletteFile(8, {{255, 0}}, palette);
    bmp.fileHeader = false;
    CfImageBMP image;
    ASSERT_TRUE(DecodeBytes(image, MakeBmp(bmp))) << image.GetLastError();
    EXPECT_EQ(image.GetColorCount(), 256u);
    EXPECT_EQ(image.PixelIndexAt(0, 0), 255);
    EXPECT_EQ(PixelAt(image, 0, 0), (Bgra{0xEF, 0xCD, 0xAB, 255}));
}

TEST(BmpDepth, SixteenBitWithoutMasksIsFiveFiveFive) {
    BmpFile bmp;
    bmp.bits = 16;
    bmp.width = 3;
    bmp.height = 1;
    bmp.pixels = {0xFF, 0x7F, 0x1F, 0x00, 0x00, 0x7C, 0, 0}; // white, blue, red + padding
    CfImageBMP image;
    ASSERT_TRUE(DecodeBytes(image, MakeBmp(bmp)));
    EXPECT_EQ(image.GetBitsPerPixel(), 24);
    EXPECT_EQ(PixelAt(image, 0, 0), (Bgra{248, 248, 248, 255}));
    EXPECT_EQ(PixelAt(image, 1, 0), (Bgra{248, 0, 0, 255}));
    EXPECT_EQ(PixelAt(image, 2, 0), (Bgra{0, 0, 248, 255}));
}

TEST(BmpDepth, SixteenBitMasksFiveSixFive) {
    // Two rows of 3 pixels (rows of 8 bytes): 0xFFFF, 0xF800, 0x07E0 / 0x001F, 0, 0x0841.
    const Bytes pixels = {0xFF, 0xFF, 0x00, 0xF8, 0xE0, 0x07, 0, 0,
                          0x1F, 0x00, 0x00, 0x00, 0x41, 0x08, 0, 0};
    for (uint32_t headerSize : {40u, 56u, 124u}) {
        SCOPED_TRACE(headerSize);
        BmpFile bmp;
        bmp.headerSize = headerSize;
        bmp.bits = 16;
        bmp.width = 3;
        bmp.height = 2;
        bmp.compression = BI_BITFIELDS;
        bmp.imageSize = 16;
        bmp.masks = {0xF800, 0x07E0, 0x001F};
        bmp.pixels = pixels;
        CfImageBMP image;
        ASSERT_TRUE(DecodeBytes(image, MakeBmp(bmp))) << image.GetLastError();
        EXPECT_EQ(PixelAt(image, 0, 0), (Bgra{248, 252, 248, 255}));
        EXPECT_EQ(PixelAt(image, 1, 0), (Bgra{0, 0, 248, 255}));
        EXPECT_EQ(PixelAt(image, 2, 0), (Bgra{0, 252, 0, 255}));
        EXPECT_EQ(PixelAt(image, 0, 1), (Bgra{248, 0, 0, 255}));
        EXPECT_EQ(PixelAt(image, 2, 1), (Bgra{8, 8, 8, 255}));
    }
}

TEST(BmpDepth, TwentyFourBitRowsArePadded) {
    BmpFile bmp;
    bmp.bits = 24;
    bmp.width = 5;
    bmp.height = 2;
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 5; ++x) {
            Append(bmp.pixels, {static_cast<uint8_t>(x), static_cast<uint8_t>(y), 0x55});
        }
        Append(bmp.pixels, {0xEE});
    }
    CfImageBMP image;
    ASSERT_TRUE(DecodeBytes(image, MakeBmp(bmp)));
    EXPECT_EQ(image.GetRowStride(), 16u);
    EXPECT_EQ(PixelAt(image, 4, 1), (Bgra{4, 1, 0x55, 255}));
    EXPECT_EQ(PixelAt(image, 0, 1), (Bgra{0, 1, 0x55, 255}));
    EXPECT_FALSE(image.HasAlphaChannel());
}

BmpFile ThirtyTwoBit(const std::vector<uint8_t> &alphas) {
    BmpFile bmp;
    bmp.bits = 32;
    bmp.width = static_cast<int32_t>(alphas.size());
    bmp.height = 1;
    for (size_t x = 0; x < alphas.size(); ++x) {
        Append(bmp.pixels, {static_cast<uint8_t>(10 + x), 20, 30, alphas[x]});
    }
    return bmp;
}

TEST(BmpDepth, ThirtyTwoBitKeepsItsAlphaBytes) {
    CfImageBMP image;
    ASSERT_TRUE(DecodeBytes(image, MakeBmp(ThirtyTwoBit({0, 128, 255}))));
    EXPECT_EQ(image.GetBitsPerPixel(), 24);
    ASSERT_TRUE(image.HasAlphaChannel());
    EXPECT_EQ(PixelAt(image, 0, 0), (Bgra{10, 20, 30, 0}));
    EXPECT_EQ(PixelAt(image, 1, 0), (Bgra{11, 20, 30, 128}));
    EXPECT_EQ(PixelAt(image, 2, 0), (Bgra{12, 20, 30, 255}));
}

TEST(BmpDepth, ThirtyTwoBitWithUnusedFourthByteIsOpaque) {
    CfImageBMP image;
    ASSERT_TRUE(DecodeBytes(image, MakeBmp(ThirtyTwoBit({0, 0, 0}))));
    ASSERT_TRUE(image.HasAlphaChannel());
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(PixelAt(image, x, 0).a, 255);
    }
}

TEST(BmpDepth, ThirtyTwoBitMasksPickTheirBytes) {
    BmpFile bmp;
    bmp.bits = 32;
    bmp.width = 1;
    bmp.height = 2;
    bmp.compression = BI_BITFIELDS;
    bmp.masks = {0xFF000000, 0x00FF0000, 0x0000FF00}; // R, G, B in bytes 3, 2, 1
    bmp.pixels = {0x01, 0x33, 0x22, 0x11, 0x02, 0x66, 0x55, 0x44};
    CfImageBMP image;
    ASSERT_TRUE(DecodeBytes(image, MakeBmp(bmp))) << image.GetLastError();
    EXPECT_EQ(PixelAt(image, 0, 0), (Bgra{0x33, 0x22, 0x11, 255}));
    EXPECT_EQ(PixelAt(image, 0, 1), (Bgra{0x66, 0x55, 0x44, 255}));
    EXPECT_FALSE(image.HasAlphaChannel());
}

TEST(BmpDepth, AlphaMaskOfLongHeadersSelectsTheAlphaByte) {
    BmpFile bmp;
    bmp.headerSize = 124;
    bmp.bits = 32;
    bmp.width = 2;
    bmp.height = 1;
    bmp.compression = BI_BITFIELDS;
    bmp.masks = {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF}; // R, G, B, A
    bmp.pixels = {0x80, 0x33, 0x22, 0x11, 0x00, 0x66, 0x55, 0x44};
    CfImageBMP image;
    ASSERT_TRUE(DecodeBytes(image, MakeBmp(bmp))) << image.GetLastError();
    EXPECT_EQ(PixelAt(image, 0, 0), (Bgra{0x33, 0x22, 0x11, 0x80}));
    EXPECT_EQ(PixelAt(image, 1, 0), (Bgra{0x66, 0x55, 0x44, 0x00}));

    bmp.pixels[0] = 0; // every alpha byte 0: an unused channel, the picture is opaque
    CfImageBMP unused;
    ASSERT_TRUE(DecodeBytes(unused, MakeBmp(bmp)));
    EXPECT_EQ(PixelAt(unused, 0, 0).a, 255);
}

TEST(BmpDepth, UnsupportedCombinationsSayWhy) {
    struct Case {
        uint16_t bits;
        uint32_t compression;
        const char *message;
    };
    const Case cases[] = {
        {8, BI_BITFIELDS, "compression type not supported"},
        {4, 5, "compression type not supported"},
        {2, BI_RLE4, "compression type not supported"},
        {24, BI_RLE8, "unknown compression"},
        {32, BI_RLE8, "unknown compression"},
        {32, 6, "unknown compression"},
        {3, BI_RGB, "BMP bit count not supported"},
        {64, BI_RGB, "BMP bit count not supported"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bits);
        BmpFile bmp;
        bmp.bits = c.bits;
        bmp.compression = c.compression;
        if (c.bits <= 8) {
            bmp.palette = {0x000000, 0xFFFFFF};
            bmp.colorsUsed = 2;
        }
        bmp.pixels.assign(16, 0);
        CfImageBMP image;
        EXPECT_FALSE(DecodeBytes(image, MakeBmp(bmp)));
        EXPECT_STREQ(image.GetLastError(), c.message);
    }
}

} // namespace
