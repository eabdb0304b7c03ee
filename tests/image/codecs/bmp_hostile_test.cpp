// Damaged and hostile BMP files: every failure is clean, nothing is read or written outside
// its buffer, and nothing huge is allocated on the word of a few header bytes.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "image/codecs/CfImageBMP.h"
#include "tests/image/ImageTestSupport.h"
#include "tests/support/Bmp.h"

namespace {

using namespace imagetest;
using namespace support;

std::vector<Bytes> SampleFiles() {
    std::vector<Bytes> files;
    BmpFile pal;
    pal.bits = 8;
    pal.width = 5;
    pal.height = 3;
    pal.palette = {0x000000, 0xFFFFFF, 0x808080};
    pal.colorsUsed = 3;
    pal.pixels.assign(24, 1);
    files.push_back(MakeBmp(pal));

    BmpFile rle = pal;
    rle.compression = BI_RLE8;
    rle.pixels = {5, 1, 0, 0, 0, 3, 1, 2, 1, 0, 0, 2, 1, 1, 4, 2, 0, 1};
    files.push_back(MakeBmp(rle));

    BmpFile os2 = pal;
    os2.headerSize = 12;
    os2.palette.assign(256, 0x123456);
    files.push_back(MakeBmp(os2));

    BmpFile deep;
    deep.bits = 32;
    deep.width = 3;
    deep.height = -2;
    deep.compression = BI_BITFIELDS;
    deep.masks = {0xFF0000, 0xFF00, 0xFF};
    deep.pixels.assign(24, 0x7F);
    files.push_back(MakeBmp(deep));

    BmpFile sixteen = deep;
    sixteen.headerSize = 124;
    sixteen.bits = 16;
    sixteen.masks = {0xF800, 0x07E0, 0x001F};
    sixteen.pixels.assign(16, 0xA5);
    files.push_back(MakeBmp(sixteen));
    return files;
}

TEST(BmpHostile, EveryTruncationFailsCleanlyOrKeepsWhatWasRead) {
    for (const Bytes &full : SampleFiles()) {
        for (size_t length = 0; length < full.size(); ++length) {
            SCOPED_TRACE(length);
            const Bytes cut(full.begin(), full.begin() + static_cast<long>(length));
            CfImageBMP image;
            if (DecodeBytes(image, cut)) {
                EXPECT_TRUE(image.IsValid());
                continue;
            }
            const std::string error = image.GetLastError();
            if (length < 14) {
                EXPECT_EQ(error, "Not a BMP");
            } else {
                EXPECT_FALSE(error.empty());
            }
        }
    }
}

TEST(BmpHostile, ShortPixelDataLeavesTheRestBlack) {
    BmpFile bmp;
    bmp.bits = 24;
    bmp.width = 2;
    bmp.height = 2;
    bmp.pixels = {1, 2, 3}; // one pixel of four
    CfImageBMP image;
    ASSERT_TRUE(DecodeBytes(image, MakeBmp(bmp)));
    EXPECT_EQ(PixelAt(image, 0, 0), (Bgra{1, 2, 3, 255}));
    EXPECT_EQ(PixelAt(image, 1, 0), (Bgra{0, 0, 0, 255}));
    EXPECT_EQ(PixelAt(image, 1, 1), (Bgra{0, 0, 0, 255}));
}

TEST(BmpHostile, DimensionsBeyondTheMemoryCeilingAreRefusedBeforeAllocating) {
    BmpFile bmp;
    bmp.bits = 32;
    bmp.width = 100000;
    bmp.height = -100000;
    bmp.pixels = {1, 2, 3, 4};
    CfImageBMP image;
    EXPECT_FALSE(DecodeBytes(image, MakeBmp(bmp)));
    EXPECT_STREQ(image.GetLastError(), "CFIMAGE_MAX_MEMORY exceeded");

    bmp.width = 0;
    CfImageBMP empty;
    EXPECT_FALSE(DecodeBytes(empty, MakeBmp(bmp)));
    EXPECT_STREQ(empty.GetLastError(),
                 "CfImage::Create : width and height must be greater than zero");
}

TEST(BmpHostile, NegativeWidthAndTheLowestHeightAreRejected) {
    for (auto [width, height] : {std::pair{-4, 4}, std::pair{4, INT32_MIN}}) {
        BmpFile bmp;
        bmp.width = width;
        bmp.height = height;
        CfImageBMP image;
        EXPECT_FALSE(DecodeBytes(image, MakeBmp(bmp)));
        EXPECT_STREQ(image.GetLastError(), "Error reading BMP info");
    }
}

TEST(BmpHostile, ExtendedHeaderWithOverflowingRowSizeIsRejected) {
    BmpFile bmp;
    bmp.headerSize = 108;
    bmp.bits = 0xFFFF;
    bmp.width = 0x7FFFFFFF;
    bmp.height = 0x7FFFFFFF;
    bmp.imageSize = 0xFFFFFFFF;
    CfImageBMP image;
    EXPECT_FALSE(DecodeBytes(image, MakeBmp(bmp)));
    EXPECT_STREQ(image.GetLastError(), "Error reading BMP info");
}

TEST(BmpHostile, PixelOffsetOutsideTheFileIsAFailure) {
    for (int64_t offset : {int64_t{0x7FFFFFFF}, int64_t{0xFFFFFFFF}, int64_t{70}}) {
        BmpFile bmp;
        bmp.width = 2;
        bmp.height = 2;
        bmp.pixels.assign(16, 9);
        bmp.pixelOffset = offset;
        CfImageBMP image;
        EXPECT_FALSE(DecodeBytes(image, MakeBmp(bmp))) << offset;
        EXPECT_STREQ(image.GetLastError(), "BMP pixel data lies beyond the end of the file");
    }
}

TEST(BmpHostile, HugeColourCountIsNotReadOrStored) {
    BmpFile bmp;
    bmp.bits = 8;
    bmp.width = 2;
    bmp.height = 1;
    bmp.colorsUsed = 0xFFFFFFFF;
    bmp.palette = {0xFF0000, 0x00FF00};
    bmp.pixels = {1, 0, 0, 0};
    CfImageBMP image;
    ASSERT_TRUE(DecodeBytes(image, MakeBmp(bmp))) << image.GetLastError();
    EXPECT_EQ(image.GetColorCount(), 256u);
    EXPECT_EQ(PixelAt(image, 0, 0), (Bgra{0, 255, 0, 255}));

    // Without a file header the pixels would follow the 4 GiB table: there are none.
    bmp.fileHeader = false;
    CfImageBMP bare;
    EXPECT_FALSE(DecodeBytes(bare, MakeBmp(bmp)));
    EXPECT_STREQ(bare.GetLastError(), "BMP pixel data lies beyond the end of the file");
}

TEST(BmpHostile, OddMasksGiveSomeColourWithoutFaults) {
    const std::vector<std::array<uint32_t, 3>> maskSets = {
        {0, 0, 0},
        {0xFFFF, 0xFFFF, 0xFFFF},
        {0x0F00, 0x00F0, 0x000F},
        {0x8001, 0x4002, 0x2004},
        {0xFFFFFFFF, 0, 0x80000000},
    };
    for (uint16_t bits : {16, 32}) {
        for (const auto &masks : maskSets) {
            BmpFile bmp;
            bmp.bits = bits;
            bmp.width = 3;
            bmp.height = 2;
            bmp.compression = BI_BITFIELDS;
            bmp.masks.assign(masks.begin(), masks.end());
            bmp.pixels.assign(24, 0xFF);
            CfImageBMP image;
            EXPECT_TRUE(DecodeBytes(image, MakeBmp(bmp))) << image.GetLastError();
        }
    }
}

TEST(BmpHostile, OtherFormatsAreNotTakenForBareHeaders) {
    const Bytes samples[] = {
        {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1,
         0,    1,    0,    0,    0, 0,    0,   0,   0,   0,   0, 0, 0, 0, 0, 0,
         0,    0,    0,    0,    0, 0,    0,   0,   0,   0,   0, 0, 0, 0, 0, 0},
        {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0, 1, 3, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0,
         0,   0,   0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {0, 0, 1, 0,  1, 0, 16, 16, 0, 0, 1, 0, 1, 0, 0x68, 5, 0, 0, 22, 0, 0, 0, 40, 0, 0, 0, 16,
         0, 0, 0, 32, 0, 0, 0,  1,  0, 1, 0, 0, 0, 0, 0,    0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0},
    };
    for (const Bytes &bytes : samples) {
        CfImageBMP image;
        EXPECT_FALSE(DecodeBytes(image, bytes));
    }
}

} // namespace
