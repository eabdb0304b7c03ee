// Tiles, resolution and position, pages, and the decoding controls (orientation: see
// tiff_orientation_test.cpp).
#include <cstring>

#include <gtest/gtest.h>

#include "image/CfStdioStream.h"
#include "image/codecs/CfImageTIF.h"
#include "tests/image/ImageTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Tiff.h"

namespace {

using namespace imagetest;
using namespace support;

uint8_t Grey(const RGBQUAD &c) {
    return c.rgbGreen;
}

TiffPage GreyPage(uint32_t width, uint32_t height, uint16_t bits = 8) {
    TiffPage page;
    page.width = width;
    page.height = height;
    page.bitsPerSample = bits;
    for (uint32_t i = 0; i < width * height; ++i) {
        const auto v = static_cast<uint16_t>((i * 29 + 3) % 250);
        if (bits == 16) {
            const uint16_t word = static_cast<uint16_t>(v << 8 | 0x5A);
            page.data.resize(page.data.size() + 2);
            std::memcpy(&page.data[page.data.size() - 2], &word, 2);
        } else {
            page.data.push_back(static_cast<uint8_t>(v));
        }
    }
    return page;
}

struct TileCase {
    uint32_t width, height, tileWidth, tileLength;
    uint16_t bits;
};

class TiffTiles : public testing::TestWithParam<TileCase> {};

// The right and bottom tiles reach past the image; their outside bytes (0xEE) never show.
TEST_P(TiffTiles, EdgeTilesAreCutAtTheImageBorder) {
    TempDir dir;
    const TileCase c = GetParam();
    TiffPage page = GreyPage(c.width, c.height, c.bits);
    page.tileWidth = c.tileWidth;
    page.tileLength = c.tileLength;
    const std::string path = dir / "tiles";
    WriteTiff(path, {page});
    CfImage image;
    ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
    ASSERT_EQ(image.GetWidth(), c.width);
    ASSERT_EQ(image.GetHeight(), c.height);
    for (uint32_t y = 0; y < c.height; ++y) {
        for (uint32_t x = 0; x < c.width; ++x) {
            const uint32_t i = y * c.width + x;
            EXPECT_EQ(Grey(PixelFromTop(image, x, y)), (i * 29 + 3) % 250) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, TiffTiles,
                         testing::Values(TileCase{37, 21, 16, 16, 8}, TileCase{10, 5, 32, 16, 8},
                                         TileCase{48, 33, 16, 32, 8}, TileCase{21, 18, 16, 16, 16},
                                         TileCase{16, 16, 16, 16, 8}));

TEST(TiffResolution, UnitsAndPositionsReachTheImage) {
    TempDir dir;
    struct Case {
        uint16_t unit; // 0: tag absent
        std::optional<float> x, y;
        int32_t dpiX, dpiY;
    };
    const Case cases[] = {
        {RESUNIT_CENTIMETER, 118.11f, 47.0f, 300, 119},     {RESUNIT_INCH, 299.9f, 72.0f, 299, 72},
        {RESUNIT_NONE, 150.7f, 150.7f, 150, 150},           {0, 200.0f, std::nullopt, 200, 96},
        {RESUNIT_INCH, std::nullopt, std::nullopt, 96, 96},
    };
    for (const Case &c : cases) {
        TiffPage page = GreyPage(2, 2);
        page.resolutionUnit = c.unit;
        page.xResolution = c.x;
        page.yResolution = c.y;
        page.xPosition = 3.9f;
        page.yPosition = 12.25f;
        const std::string path = dir / std::to_string(c.dpiX);
        WriteTiff(path, {page});
        CfImage image;
        ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
        EXPECT_EQ(image.GetDpiX(), c.dpiX) << c.unit;
        EXPECT_EQ(image.GetDpiY(), c.dpiY) << c.unit;
        EXPECT_EQ(image.info.xOffset, 3);
        EXPECT_EQ(image.info.yOffset, 12);
    }
}

class TiffPages : public testing::Test {
protected:
    void SetUp() override { WriteTiff(path, {GreyPage(3, 2), GreyPage(5, 4), GreyPage(7, 1)}); }
    TempDir dir;
    const std::string path = dir / "pages";
};

TEST_F(TiffPages, EachPageDecodesAndTheCountIsReported) {
    const uint32_t widths[] = {3, 5, 7};
    for (int32_t frame = 0; frame < 3; ++frame) {
        CfImage image;
        ASSERT_TRUE(LoadFile(image, path, frame)) << image.GetLastError();
        EXPECT_EQ(image.GetWidth(), widths[frame]);
        EXPECT_EQ(image.info.frameCount, 3);
    }
}

TEST_F(TiffPages, AFrameBeyondTheLastFailsButReportsTheCount) {
    CfImage image;
    image.info.frame = 5;
    EXPECT_FALSE(image.Load(path.c_str(), FormatTiff));
    EXPECT_STREQ(image.GetLastError(), "Error: page not present in TIFF file");
    EXPECT_EQ(image.info.frameCount, 3);
    EXPECT_FALSE(image.IsValid());

    CfImage detected;
    detected.info.frame = 3;
    EXPECT_FALSE(detected.Load(path.c_str(), FormatUnknown));
    EXPECT_EQ(detected.info.frameCount, 3);
}

TEST_F(TiffPages, DimensionsOnlyStopsAfterTheHeader) {
    CfImage image;
    image.info.frame = 1;
    image.SetEscapeCode(-1);
    ASSERT_TRUE(image.Load(path.c_str(), FormatUnknown));
    EXPECT_EQ(image.GetWidth(), 5u);
    EXPECT_EQ(image.GetHeight(), 4u);
    EXPECT_EQ(image.GetFormatType(), FormatTiff);
    EXPECT_FALSE(image.IsValid());
    EXPECT_STREQ(image.GetLastError(), "output dimensions returned");
}

TEST_F(TiffPages, AnyOtherEscapeCancels) {
    CfImage image;
    image.SetEscapeCode(7);
    EXPECT_FALSE(image.Load(path.c_str(), FormatTiff));
    EXPECT_STREQ(image.GetLastError(), "Cancelled");
}

// A caller that hints TIFF already carries FormatTiff: a failure in dimensions-only mode must
// still be a failure.
TEST(TiffDimensionsOnly, AFailureIsNotTurnedIntoSuccessByTheHint) {
    FILE *file = OpenBytes({'I', 'I', 42, 0, 0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3});
    ASSERT_NE(file, nullptr);
    CfStdioStream stream(file);
    CfImageTIF decoder;
    decoder.info.type = FormatTiff;
    decoder.SetEscapeCode(-1);
    EXPECT_FALSE(decoder.Decode(&stream));
    EXPECT_STREQ(decoder.GetLastError(), "Error encountered while opening TIFF file");
    std::fclose(file);

    CfImageTIF withoutStream;
    withoutStream.SetEscapeCode(-1);
    EXPECT_FALSE(withoutStream.Decode(nullptr));
}

} // namespace
