// CfImage::InvertColors on true-colour images, identity grey palettes and other palettes.

#include <gtest/gtest.h>

#include "image/CfImage.h"

namespace {

TEST(InvertColors, EmptyImageFails) {
    CfImage image;
    EXPECT_FALSE(image.InvertColors());
}

TEST(InvertColors, TrueColourPixelsAndTransparentColour) {
    CfImage image(2, 1, 24);
    image.PutPixelColor(0, 0, RGBQUAD{0, 100, 255, 0});
    image.PutPixelColor(1, 0, RGBQUAD{7, 8, 9, 0});
    image.SetTransparentColor(RGBQUAD{10, 20, 30, 0});
    ASSERT_TRUE(image.InvertColors());
    EXPECT_EQ(image.PixelColorAt(0, 0, false), (RGBQUAD{255, 155, 0, 0}));
    EXPECT_EQ(image.PixelColorAt(1, 0, false), (RGBQUAD{248, 247, 246, 0}));
    EXPECT_EQ(image.info.transparentColor, (RGBQUAD{245, 235, 225, 0}));
}

TEST(InvertColors, IdentityGreyPaletteInvertsTheIndices) {
    for (uint32_t bits : {1u, 4u, 8u}) {
        SCOPED_TRACE(bits);
        CfImage image(3, 1, bits);
        const uint32_t count = image.GetColorCount();
        for (uint32_t j = 0; j < count; ++j) {
            image.SetPaletteEntry(static_cast<uint8_t>(j), static_cast<uint8_t>(j),
                                  static_cast<uint8_t>(j), static_cast<uint8_t>(j));
        }
        image.PutPixelIndex(0, 0, 0);
        image.PutPixelIndex(1, 0, 1);
        image.PutPixelIndex(2, 0, static_cast<uint8_t>(count - 1));
        ASSERT_TRUE(image.InvertColors());
        EXPECT_EQ(image.PixelIndexAt(0, 0), count - 1);
        EXPECT_EQ(image.PixelIndexAt(1, 0), count - 2);
        EXPECT_EQ(image.PixelIndexAt(2, 0), 0);
        EXPECT_EQ(image.PaletteEntry(1).rgbRed, 1); // the palette stays
    }
}

TEST(InvertColors, OtherPalettesInvertTheirEntries) {
    CfImage image(2, 1, 4);
    image.SetGreyPalette(); // 0, 17, 34, ...: a grey ramp, but not the identity
    image.PutPixelIndex(0, 0, 2);
    image.PutPixelIndex(1, 0, 15);
    image.SetPaletteEntry(15, 1, 2, 3, 77);
    ASSERT_TRUE(image.InvertColors());
    EXPECT_EQ(image.PixelIndexAt(0, 0), 2);
    EXPECT_EQ(image.PaletteEntry(2), (RGBQUAD{221, 221, 221, 0}));
    EXPECT_EQ(image.PaletteEntry(15), (RGBQUAD{252, 253, 254, 77}));
}

} // namespace
