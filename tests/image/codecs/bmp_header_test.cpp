// Header variants of the BMP decoder: OS/2 and Windows headers of every size, bare headers,
// resolution, dimensions-only mode and the row order of top-down files.

#include <gtest/gtest.h>

#include "image/codecs/CfImageBMP.h"
#include "tests/image/ImageTestSupport.h"
#include "tests/support/Bmp.h"

namespace {

using namespace imagetest;
using namespace support;

// A 2 x 2 24-bit picture: bottom row blue, red; top row green, white (file rows bottom-up).
const Bytes kRgbRows = {0xFF, 0,    0, 0,    0,    0xFF, 0, 0, // row 0
                        0,    0xFF, 0, 0xFF, 0xFF, 0xFF, 0, 0};

BmpFile Rgb2x2() {
    BmpFile bmp;
    bmp.width = 2;
    bmp.height = 2;
    bmp.bits = 24;
    bmp.pixels = kRgbRows;
    return bmp;
}

void ExpectRgb2x2(const CfImage &image) {
    ASSERT_TRUE(image.IsValid());
    EXPECT_EQ(image.GetWidth(), 2u);
    EXPECT_EQ(image.GetHeight(), 2u);
    EXPECT_EQ(image.GetBitsPerPixel(), 24);
    EXPECT_EQ(PixelAt(image, 0, 0), (Bgra{255, 0, 0, 255}));
    EXPECT_EQ(PixelAt(image, 1, 0), (Bgra{0, 0, 255, 255}));
    EXPECT_EQ(PixelAt(image, 0, 1), (Bgra{0, 255, 0, 255}));
    EXPECT_EQ(PixelAt(image, 1, 1), (Bgra{255, 255, 255, 255}));
}

TEST(BmpHeader, EveryWindowsHeaderSizeDecodesTheSamePicture) {
    // 108 and other unknown sizes pass only with a full image size, one plane, no table.
    for (uint32_t size : {40u, 52u, 56u, 64u, 108u, 124u}) {
        SCOPED_TRACE(size);
        BmpFile bmp = Rgb2x2();
        bmp.headerSize = size;
        bmp.imageSize = 16;
        CfImageBMP image;
        ASSERT_TRUE(DecodeBytes(image, MakeBmp(bmp))) << image.GetLastError();
        ExpectRgb2x2(image);
        EXPECT_EQ(image.GetFormatType(), FormatBmp);
    }
}

TEST(BmpHeader, Os2CoreHeaderWithThreeBytePalette) {
    BmpFile bmp;
    bmp.headerSize = 12;
    bmp.width = 3;
    bmp.height = 1;
    bmp.bits = 8;
    bmp.palette.assign(256, 0);
    bmp.palette[0] = 0x102030;
    bmp.palette[1] = 0xA0B0C0;
    bmp.palette[255] = 0xFFEEDD;
    bmp.pixels = {1, 255, 0, 0};
    bmp.ppmX = 3780; // not in a core header: the resolution stays 96
    CfImageBMP image;
    ASSERT_TRUE(DecodeBytes(image, MakeBmp(bmp))) << image.GetLastError();
    EXPECT_EQ(image.GetBitsPerPixel(), 8);
    EXPECT_EQ(PixelAt(image, 0, 0), (Bgra{0xC0, 0xB0, 0xA0, 255}));
    EXPECT_EQ(PixelAt(image, 1, 0), (Bgra{0xDD, 0xEE, 0xFF, 255}));
    EXPECT_EQ(PixelAt(image, 2, 0), (Bgra{0x30, 0x20, 0x10, 255}));
    EXPECT_EQ(image.PaletteEntry(1).rgbReserved, 0);
    EXPECT_EQ(image.GetDpiX(), 96);
    EXPECT_EQ(image.GetDpiY(), 96);
}

TEST(BmpHeader, ImplausibleHeadersAreRejected) {
    struct Case {
        const char *what;
        uint32_t size;
        uint32_t imageSize;
        uint32_t colorsUsed;
        uint16_t planes;
    };
    const Case cases[] = {
        {"header size below 40", 39, 16, 0, 1},
        {"header size 0", 0, 16, 0, 1},
        {"108 with image size 0", 108, 0, 0, 1},
        {"108 with image size too small", 108, 15, 0, 1},
        {"108 with a colour count", 108, 16, 2, 1},
        {"108 with two planes", 108, 16, 0, 2},
        {"header longer than the file", 0x7FFFFFF0, 16, 0, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        BmpFile bmp = Rgb2x2();
        bmp.headerSize = c.size;
        bmp.imageSize = c.imageSize;
        bmp.colorsUsed = c.colorsUsed;
        bmp.planes = c.planes;
        // Sizes below 40 and absurd ones are patched into a 40-byte header.
        bmp.headerSize = c.size == 108 ? 108 : 40;
        Bytes bytes = MakeBmp(bmp);
        for (int i = 0; i < 4; ++i) {
            bytes[14 + i] = static_cast<uint8_t>(c.size >> (8 * i));
        }
        CfImageBMP image;
        EXPECT_FALSE(DecodeBytes(image, bytes));
        EXPECT_STREQ(image.GetLastError(), "Error reading BMP info");
    }
}

TEST(BmpHeader, TopDownExtendedHeaderIsAccepted) {
    // The plausibility test measures the rows whatever the sign of the height.
    BmpFile bmp = Rgb2x2();
    bmp.headerSize = 108;
    bmp.imageSize = 16;
    bmp.height = -2;
    CfImageBMP image;
    ASSERT_TRUE(DecodeBytes(image, MakeBmp(bmp))) << image.GetLastError();
    EXPECT_EQ(PixelAt(image, 0, 1), (Bgra{255, 0, 0, 255})); // first file row is the top
}

TEST(BmpHeader, TopDownRowsAreStoredBottomUp) {
    BmpFile bmp;
    bmp.width = 1;
    bmp.height = -3;
    bmp.bits = 24;
    bmp.pixels = {1, 1, 1, 0, 2, 2, 2, 0, 3, 3, 3, 0}; // top, middle, bottom
    CfImageBMP image;
    ASSERT_TRUE(DecodeBytes(image, MakeBmp(bmp)));
    EXPECT_EQ(image.GetHeight(), 3u);
    EXPECT_EQ(image.RowPointer(2)[0], 1); // the top row of the bottom-up image
    EXPECT_EQ(image.RowPointer(1)[0], 2);
    EXPECT_EQ(image.RowPointer(0)[0], 3);
}

TEST(BmpHeader, BareInformationHeaderIsDetectedAsBitmap) {
    BmpFile bmp = Rgb2x2();
    bmp.fileHeader = false;
    CfImageBMP direct;
    ASSERT_TRUE(DecodeBytes(direct, MakeBmp(bmp))) << direct.GetLastError();
    ExpectRgb2x2(direct);

    CfImage detected;
    ASSERT_TRUE(DecodeWithHint(detected, MakeBmp(bmp), FormatUnknown));
    ExpectRgb2x2(detected);
    EXPECT_EQ(detected.GetFormatType(), FormatBmp);
}

TEST(BmpHeader, DecodeStartsAtTheStreamPosition) {
    Bytes bytes = {'j', 'u', 'n', 'k'};
    BmpFile bmp = Rgb2x2();
    bmp.pixelOffset = 54; // counted from the "BM", not from the start of the stream
    Append(bytes, MakeBmp(bmp));
    CfImageBMP image;
    ASSERT_TRUE(DecodeBytesAt(image, bytes, 4)) << image.GetLastError();
    ExpectRgb2x2(image);
}

TEST(BmpHeader, PixelOffsetIntoTheHeadersIsNotBelieved) {
    // The offset names the end of the information header, but the palette image has a
    // colour table there: the pixels follow the table.
    BmpFile bmp;
    bmp.bits = 8;
    bmp.width = 2;
    bmp.height = 1;
    bmp.palette = {0x000000, 0x0000FF, 0x00FF00};
    bmp.colorsUsed = 3;
    bmp.pixels = {2, 1, 0, 0};
    for (int64_t offset : {int64_t{54}, int64_t{20}}) {
        bmp.pixelOffset = offset;
        CfImageBMP image;
        ASSERT_TRUE(DecodeBytes(image, MakeBmp(bmp))) << image.GetLastError();
        EXPECT_EQ(image.PixelIndexAt(0, 0), 2);
        EXPECT_EQ(image.PixelIndexAt(1, 0), 1);
    }
}

TEST(BmpHeader, PixelOffsetInsideTheDefaultTableIsBelieved) {
    // An OS/2 file cannot declare its colour count: its table may be shorter than 256
    // entries, and the offset tells where the pixels start.
    BmpFile bmp;
    bmp.headerSize = 12;
    bmp.bits = 8;
    bmp.width = 2;
    bmp.height = 1;
    bmp.palette = {0x000000, 0xFF0000};
    bmp.pixels = {1, 0, 0, 0};
    bmp.pixels.resize(24, 9); // trailing bytes: a core header needs 40 readable bytes

    CfImageBMP image;
    ASSERT_TRUE(DecodeBytes(image, MakeBmp(bmp))) << image.GetLastError();
    EXPECT_EQ(PixelAt(image, 0, 0), (Bgra{0, 0, 255, 255}));
    EXPECT_EQ(PixelAt(image, 1, 0), (Bgra{0, 0, 0, 255}));
}

TEST(BmpHeader, ResolutionInDotsPerInch) {
    BmpFile bmp = Rgb2x2();
    bmp.ppmX = 3780;  // 96.012
    bmp.ppmY = 11811; // 299.9994
    CfImageBMP image;
    ASSERT_TRUE(DecodeBytes(image, MakeBmp(bmp)));
    EXPECT_EQ(image.GetDpiX(), 96);
    EXPECT_EQ(image.GetDpiY(), 300);

    bmp.ppmX = 0;
    bmp.ppmY = -5;
    CfImageBMP unknown;
    ASSERT_TRUE(DecodeBytes(unknown, MakeBmp(bmp)));
    EXPECT_EQ(unknown.GetDpiX(), 96);
    EXPECT_EQ(unknown.GetDpiY(), 96);
}

TEST(BmpHeader, DimensionsOnlyModeStopsAfterTheHeader) {
    BmpFile bmp = Rgb2x2();
    bmp.width = 640;
    bmp.height = -480;
    bmp.pixels.clear();
    CfImageBMP image;
    image.SetEscapeCode(-1);
    ASSERT_TRUE(DecodeBytes(image, MakeBmp(bmp)));
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.GetWidth(), 640u);
    EXPECT_EQ(image.GetHeight(), 480u);
    EXPECT_EQ(image.GetFormatType(), FormatBmp);
    EXPECT_STREQ(image.GetLastError(), "output dimensions returned");

    // Through detection the dimensions reach the caller's image.
    CfImage caller;
    caller.SetEscapeCode(-1);
    ASSERT_TRUE(DecodeWithHint(caller, MakeBmp(bmp), FormatUnknown));
    EXPECT_EQ(caller.GetWidth(), 640u);
    EXPECT_EQ(caller.GetHeight(), 480u);
}

TEST(BmpHeader, DimensionsOnlyModeStillRejectsOtherFiles) {
    CfImageBMP image;
    image.info.type = FormatBmp; // a caller that already holds a bitmap
    image.SetEscapeCode(-1);
    EXPECT_FALSE(DecodeBytes(image, Bytes{'G', 'I', 'F', '8', '9', 'a'}));
    EXPECT_STREQ(image.GetLastError(), "Not a BMP");
}

TEST(BmpHeader, OtherEscapeValuesCancel) {
    CfImageBMP image;
    image.SetEscapeCode(1);
    EXPECT_FALSE(DecodeBytes(image, MakeBmp(Rgb2x2())));
    EXPECT_STREQ(image.GetLastError(), "Cancelled");
}

} // namespace
