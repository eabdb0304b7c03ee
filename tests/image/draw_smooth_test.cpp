// Smooth drawing and its samplers, against values worked out by hand from the pixel
// geometry (centres on integers, rows from the bottom, clamp to edge).
#include <gtest/gtest.h>

#include <cmath>

#include "tests/image/DrawFixtures.h"

namespace {

TEST(DrawSmooth, EnlargementInterpolatesBetweenPixelCentres) {
    // Stored rows from the bottom: 0 100 / 200 40.
    const uint8_t values[4] = {0, 100, 200, 40};
    CfImage image;
    MakeGrey(image, 2, 2, values);
    TestWindow w(4, 4);
    EXPECT_EQ(image.Draw(w.dc, 0, 0, 4, 4, nullptr, true), 1);
    // Sample points are (c/2 - 1/2, r/2 - 1/2) for section column c and row r = 3 - y:
    // columns/rows -0.5 and 0 rest on the first pixel, 0.5 is half way, 1 the last pixel.
    const int expected[4][4] = {
        {200, 200, 120, 40}, // y = 0: stored row 1
        {100, 100, 85, 70},  // y = 1: half way between the rows
        {0, 0, 50, 100},     // y = 2: stored row 0
        {0, 0, 50, 100},     // y = 3: below the first centre, clamped
    };
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            EXPECT_EQ(Blue(w.surface.PixelAt(x, y)), expected[y][x]) << x << "," << y;
        }
    }
}

TEST(DrawSmooth, ReductionAveragesTheBoxUnderEachPixel) {
    // value(x, row) = 10 x + 60 row.
    uint8_t values[16];
    for (int row = 0; row < 4; ++row) {
        for (int x = 0; x < 4; ++x) {
            values[row * 4 + x] = static_cast<uint8_t>(10 * x + 60 * row);
        }
    }
    CfImage image;
    MakeGrey(image, 4, 4, values);
    TestWindow w(2, 2);
    image.Draw(w.dc, 0, 0, 2, 2, nullptr, true);
    // Boxes of 2 x 2 centred on (2c - 1/2, 2r - 1/2): c = 0 covers column 0 only (the rest
    // lies outside and counts for the edge), c = 1 columns 1 and 2; likewise for rows.
    EXPECT_EQ(Blue(w.surface.PixelAt(0, 1)), 0);   // column 0, row 0
    EXPECT_EQ(Blue(w.surface.PixelAt(1, 1)), 15);  // columns 1-2, row 0
    EXPECT_EQ(Blue(w.surface.PixelAt(0, 0)), 90);  // column 0, rows 1-2
    EXPECT_EQ(Blue(w.surface.PixelAt(1, 0)), 105); // columns 1-2, rows 1-2
}

TEST(DrawSmooth, ReducingOneWayOnlyInterpolates) {
    const uint8_t values[4] = {0, 100, 200, 40};
    CfImage image;
    MakeGrey(image, 4, 1, values);
    TestWindow w(2, 2);
    // fx = 2, fy = 0.5: bilinear at (2c - 0.5, ...) on a one-row image.
    image.Draw(w.dc, 0, 0, 2, 2, nullptr, true);
    EXPECT_EQ(Blue(w.surface.PixelAt(0, 0)), 0);
    EXPECT_EQ(Blue(w.surface.PixelAt(1, 0)), 150); // half way between 100 and 200
}

TEST(SampleInterpolated, TrueColourInsideUsesEighthBitWeights) {
    const uint8_t values[4] = {0, 0, 0, 255};
    CfImage image;
    MakeGrey(image, 2, 2, values);
    // ix = iy = trunc(0.3 * 256) = 76, ixy = 76 * 76 >> 8 = 22: 22 * 255 >> 8 = 21,
    // where exact weights would give trunc(0.09 * 255) = 22.
    EXPECT_EQ(image.SampleInterpolated(0.3f, 0.3f).rgbBlue, 21);
    EXPECT_EQ(image.SampleInterpolated(0.3f, 0.3f).rgbReserved, 0);
    ASSERT_TRUE(image.CreateAlphaChannel());
    EXPECT_EQ(image.SampleInterpolated(0.3f, 0.3f).rgbReserved, 255);
}

TEST(SampleInterpolated, PaletteImagesUseFloatingPointWeights) {
    CfImage image;
    image.Create(2, 2, 8);
    image.SetPaletteEntry(1, 0, 0, 255, 255);
    image.PutPixelIndex(0, 0, 0);
    image.PutPixelIndex(1, 0, 0);
    image.PutPixelIndex(0, 1, 0);
    image.PutPixelIndex(1, 1, 1);
    const RGBQUAD c = image.SampleInterpolated(0.3f, 0.3f);
    EXPECT_EQ(c.rgbBlue, 22);
    EXPECT_EQ(c.rgbReserved, 22); // the palette's fourth byte is blended too
}

TEST(SampleInterpolated, PointsOutsideTakeTheEdge) {
    const uint8_t values[4] = {10, 20, 30, 40};
    CfImage image;
    MakeGrey(image, 2, 2, values);
    EXPECT_EQ(image.SampleInterpolated(-50.0f, -50.0f).rgbBlue, 10);
    EXPECT_EQ(image.SampleInterpolated(50.0f, 0.0f).rgbBlue, 20);
    EXPECT_EQ(image.SampleInterpolated(0.0f, 1e30f).rgbBlue, 30);
    EXPECT_EQ(image.SampleInterpolated(-0.5f, 1.0f).rgbBlue, 30);
    EXPECT_EQ(image.SampleInterpolated(0.5f, 1.5f).rgbBlue, 35);
    EXPECT_EQ(image.SampleInterpolated(std::nanf(""), 0.0f).rgbBlue, 10);
    CfImage empty;
    EXPECT_EQ(empty.SampleInterpolated(0.0f, 0.0f).rgbBlue, 0);
}

TEST(SampleAreaAverage, PartialCellsCountByTheirShare) {
    const uint8_t values[4] = {0, 40, 80, 120};
    CfImage image;
    MakeGrey(image, 4, 1, values);
    // Box [0, 2]: half of column 0, all of column 1, half of column 2: (40 + 40) / 2.
    EXPECT_EQ(image.SampleAreaAverage(1.0f, 0.0f, 2.0f, 1.0f).rgbBlue, 40);
    // Box [1.25, 3.75]: 0.25 of column 1, column 2, and column 3 with what lies past it:
    // (0.25 * 40 + 80 + 1.25 * 120) / 2.5 = 96.
    EXPECT_EQ(image.SampleAreaAverage(2.5f, 0.0f, 2.5f, 1.0f).rgbBlue, 96);
}

TEST(SampleAreaAverage, BoxesReachingPastTheFirstPixelKeepTheirFullWeight) {
    const uint8_t values[4] = {0, 40, 80, 120};
    CfImage image;
    MakeGrey(image, 4, 1, values);
    // Box [-1.5, 1.5]: 2 units on column 0 (1.5 of them outside), 1 on column 1: 40 / 3.
    EXPECT_EQ(image.SampleAreaAverage(0.0f, 0.0f, 3.0f, 1.0f).rgbBlue, 13);
    // Wholly outside: the edge pixel.
    EXPECT_EQ(image.SampleAreaAverage(-100.0f, 5.0f, 3.0f, 3.0f).rgbBlue, 0);
    EXPECT_EQ(image.SampleAreaAverage(1e9f, 0.0f, 3.0f, 3.0f).rgbBlue, 120);
}

} // namespace
