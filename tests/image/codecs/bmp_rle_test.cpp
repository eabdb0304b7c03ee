// Run-length encoded bitmaps: runs, absolute blocks with their padding, line ends, deltas, and
// input that points outside the image.

#include <gtest/gtest.h>

#include "image/codecs/CfImageBMP.h"
#include "tests/image/ImageTestSupport.h"
#include "tests/support/Bmp.h"

namespace {

using namespace imagetest;
using namespace support;

using Rows = std::vector<std::vector<uint8_t>>;

BmpFile RleFile(uint32_t compression, int32_t width, int32_t height, Bytes codes) {
    BmpFile bmp;
    bmp.bits = compression == BI_RLE8 ? 8 : 4;
    bmp.compression = compression;
    bmp.width = width;
    bmp.height = height;
    for (uint32_t i = 0; i < 16; ++i) {
        bmp.palette.push_back(i * 0x111111);
    }
    bmp.colorsUsed = 16;
    bmp.pixels = std::move(codes);
    return bmp;
}

Rows IndicesOf(const CfImage &image) {
    Rows rows(image.GetHeight(), std::vector<uint8_t>(image.GetWidth()));
    for (uint32_t y = 0; y < image.GetHeight(); ++y) {
        for (uint32_t x = 0; x < image.GetWidth(); ++x) {
            rows[y][x] = image.PixelIndexAt(static_cast<int32_t>(x), static_cast<int32_t>(y));
        }
    }
    return rows;
}

Rows Decode(const BmpFile &bmp) {
    CfImageBMP image;
    EXPECT_TRUE(DecodeBytes(image, MakeBmp(bmp))) << image.GetLastError();
    return IndicesOf(image);
}

TEST(BmpRle8, RunsAbsoluteBlocksLineEndsAndDeltas) {
    const Bytes codes = {
        2, 5,             // run of two 5s
        0, 3, 7, 8, 9, 0, // absolute block of three, padded to an even length
        0, 0,             // end of line
        0, 2, 3, 1,       // delta: three right, one up
        2, 4,             // run of two 4s
        0, 1,             // end of bitmap
        9, 9,             // never read
    };
    const Rows expected = {{5, 5, 7, 8, 9, 0}, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 4, 4, 0}};
    EXPECT_EQ(Decode(RleFile(BI_RLE8, 6, 3, codes)), expected);
}

TEST(BmpRle8, TopDownFileIsFlipped) {
    const Bytes codes = {3, 1, 0, 0, 3, 2, 0, 1};
    BmpFile bmp = RleFile(BI_RLE8, 3, -2, codes);
    const Rows expected = {{2, 2, 2}, {1, 1, 1}};
    EXPECT_EQ(Decode(bmp), expected);
}

TEST(BmpRle8, RunsPastTheRowEndAreClippedNotWrapped) {
    const Bytes codes = {
        8, 3,                         // a run twice as long as the row
        0, 6, 1, 2, 3, 4, 5, 6,       // absolute block past the row end
        0, 0, 0, 5, 1, 2, 3, 4, 5, 0, // next row: block of five in a row of four
        0, 1,
    };
    const Rows expected = {{3, 3, 3, 3}, {1, 2, 3, 4}};
    EXPECT_EQ(Decode(RleFile(BI_RLE8, 4, 2, codes)), expected);
}

TEST(BmpRle8, CodesAboveTheTopRowWriteNothing) {
    const Bytes codes = {0, 2, 0, 200, 4, 7, 0, 0, 0, 0, 0, 0, 0, 3, 1, 2, 3, 0, 255, 9};
    const Rows expected = {{0, 0, 0}, {0, 0, 0}};
    EXPECT_EQ(Decode(RleFile(BI_RLE8, 3, 2, codes)), expected);
}

TEST(BmpRle8, StreamEndingInsideACodeKeepsWhatWasDecoded) {
    for (const Bytes &codes :
         {Bytes{2, 6, 1}, Bytes{2, 6, 0}, Bytes{2, 6, 0, 2, 1}, Bytes{2, 6, 0, 4, 1, 2}}) {
        const Rows rows = Decode(RleFile(BI_RLE8, 4, 1, codes));
        EXPECT_EQ(rows[0][0], 6);
        EXPECT_EQ(rows[0][1], 6);
    }
}

TEST(BmpRle4, RunsAlternateNibblesAndDeltasCountPixels) {
    const Bytes codes = {
        5, 0x12,                                  // 1 2 1 2 1
        0, 2,    1,    0,                         // delta of one pixel: an odd delta lands mid-byte
        1, 0x70,                                  // 7 at x = 6
        0, 0,    0,    5,    0xAB, 0xCD, 0xE0, 0, // five pixels in three bytes, padded to four
        0, 3,    0x34, 0x50,                      // three pixels in two bytes, no padding
        0, 1,
    };
    const Rows expected = {{1, 2, 1, 2, 1, 0, 7, 0, 0}, {10, 11, 12, 13, 14, 3, 4, 5, 0}};
    EXPECT_EQ(Decode(RleFile(BI_RLE4, 9, 2, codes)), expected);
}

TEST(BmpRle4, OddStartAfterDeltaKeepsTheNeighbouringPixel) {
    const Bytes codes = {2, 0x99, 0, 2, 1, 0, 2, 0x56, 0, 1};
    // 9 9 at x 0..1, skip x 2, then 5 6 at x 3..4.
    const Rows expected = {{9, 9, 0, 5, 6}};
    EXPECT_EQ(Decode(RleFile(BI_RLE4, 5, 1, codes)), expected);
}

TEST(BmpRle4, RunsPastTheRowEndAreClipped) {
    const Bytes codes = {9, 0x21, 0, 0, 0, 7, 0x12, 0x34, 0x56, 0x70, 0, 1};
    const Rows expected = {{2, 1, 2}, {1, 2, 3}};
    EXPECT_EQ(Decode(RleFile(BI_RLE4, 3, 2, codes)), expected);
}

} // namespace
