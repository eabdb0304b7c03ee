// Which way CfImage::Draw goes and what lands on the device: direct transfer, resampling,
// blending, clipping and the device state around it.
#include <gtest/gtest.h>

#include "tests/image/DrawFixtures.h"

namespace {

TEST(DrawDirect, OwnSizeIsOneTransferOfTheWholeBitmap) {
    CfImage image;
    MakeTagged(image, 4, 3);
    TestWindow w(10, 10);
    EXPECT_EQ(image.Draw(w.dc, 2, 3, 4, 3), 1);
    EXPECT_EQ(w.Log().Count("SetDIBitsToDevice"), 1u);
    EXPECT_EQ(w.Log().Find("SetDIBitsToDevice")->args,
              (std::vector<int64_t>{2, 3, 4, 3, 0, 0, 0, 3}));
    EXPECT_EQ(w.Log().Count("CreateDIBSection"), 0u);
    EXPECT_EQ(w.Log().Find("SetStretchBltMode")->args, std::vector<int64_t>{COLORONCOLOR});
    for (int32_t i = 0; i < 3; ++i) {
        for (int32_t x = 0; x < 4; ++x) {
            EXPECT_EQ(w.surface.PixelAt(2 + x, 3 + i), Tag(x, 2 - i));
        }
    }
    EXPECT_EQ(w.surface.PixelAt(1, 3), kWindowColor);
    EXPECT_EQ(w.surface.PixelAt(2, 6), kWindowColor);
}

TEST(DrawDirect, FlipIsOneStretchWithNegativeHeight) {
    CfImage image;
    MakeTagged(image, 4, 3);
    TestWindow w(10, 10);
    EXPECT_EQ(image.Draw(w.dc, 2, 3, 4, 3, nullptr, false, true), 1);
    EXPECT_EQ(w.Log().Count("StretchDIBits"), 1u);
    EXPECT_EQ(w.Log().Count("SetDIBitsToDevice"), 0u);
    EXPECT_EQ(w.Log().Find("StretchDIBits")->args, (std::vector<int64_t>{2, 5, 4, -3, 0, 0, 4, 3}));
    for (int32_t i = 0; i < 3; ++i) {
        for (int32_t x = 0; x < 4; ++x) {
            EXPECT_EQ(w.surface.PixelAt(2 + x, 3 + i), Tag(x, i));
        }
    }
}

TEST(DrawDirect, NegativeSizesMeanTheImagesOwn) {
    CfImage image;
    MakeTagged(image, 5, 2);
    TestWindow w(10, 10);
    EXPECT_EQ(image.Draw(w.dc, 1, 4, -1, -7), 1);
    ASSERT_EQ(w.Log().Count("SetDIBitsToDevice"), 1u);
    EXPECT_EQ(w.Log().Find("SetDIBitsToDevice")->args,
              (std::vector<int64_t>{1, 4, 5, 2, 0, 0, 0, 2}));
    EXPECT_EQ(w.surface.PixelAt(5, 5), Tag(4, 0));
}

TEST(DrawResampled, HalvingTakesEverySecondPixel) {
    CfImage image;
    MakeTagged(image, 100, 100);
    TestWindow w(60, 60);
    EXPECT_EQ(image.Draw(w.dc, 0, 0, 50, 50), 1);
    EXPECT_EQ(w.Log().Find("CreateDIBSection")->args, (std::vector<int64_t>{50, 50, 24}));
    for (int32_t y = 0; y < 50; ++y) {
        for (int32_t c = 0; c < 50; ++c) {
            ASSERT_EQ(w.surface.PixelAt(c, y), Tag(2 * c, 98 - 2 * y)) << c << "," << y;
        }
    }
    EXPECT_EQ(w.surface.PixelAt(50, 0), kWindowColor);
    EXPECT_EQ(w.surface.PixelAt(0, 50), kWindowColor);
}

TEST(DrawResampled, FlipShowsTheBottomRowOnTop) {
    CfImage image;
    MakeTagged(image, 100, 100);
    TestWindow w(50, 50);
    image.Draw(w.dc, 0, 0, 50, 50, nullptr, false, true);
    EXPECT_EQ(w.surface.PixelAt(3, 0), Tag(6, 0));
    EXPECT_EQ(w.surface.PixelAt(3, 49), Tag(6, 98));
}

TEST(DrawResampled, PaletteImagesGoThroughTheirPalette) {
    CfImage image;
    image.Create(2, 2, 8);
    image.SetPaletteEntry(0, 255, 0, 0);
    image.SetPaletteEntry(1, 0, 0, 255);
    image.PutPixelIndex(0, 0, 0);
    image.PutPixelIndex(1, 0, 1);
    image.PutPixelIndex(0, 1, 1);
    image.PutPixelIndex(1, 1, 0);
    TestWindow w(4, 4);
    image.Draw(w.dc, 0, 0, 4, 4);
    EXPECT_EQ(w.surface.PixelAt(0, 0), RgbColor(0, 0, 255));
    EXPECT_EQ(w.surface.PixelAt(3, 0), RgbColor(255, 0, 0));
    EXPECT_EQ(w.surface.PixelAt(0, 3), RgbColor(255, 0, 0));
    EXPECT_EQ(w.surface.PixelAt(3, 3), RgbColor(0, 0, 255));
}

TEST(DrawClipping, HalfOutsideDrawsOnlyTheVisibleHalf) {
    CfImage image;
    MakeTagged(image, 20, 20);
    TestWindow w(50, 50);
    EXPECT_EQ(image.Draw(w.dc, -20, 10, 40, 40), 1);
    EXPECT_EQ(w.Log().Find("CreateDIBSection")->args, (std::vector<int64_t>{20, 40, 24}));
    EXPECT_EQ(w.Log().Find("SetDIBitsToDevice")->args,
              (std::vector<int64_t>{0, 10, 20, 40, 0, 0, 0, 40}));
    for (int32_t y = 10; y < 50; ++y) {
        for (int32_t x = 0; x < 20; ++x) {
            ASSERT_EQ(w.surface.PixelAt(x, y), Tag((x + 20) / 2, 19 - (y - 10) / 2));
        }
    }
    EXPECT_EQ(w.surface.PixelAt(20, 10), kWindowColor);
    EXPECT_EQ(w.surface.PixelAt(0, 9), kWindowColor);
}

TEST(DrawClipping, HugeDestinationCostsOnlyTheVisiblePart) {
    CfImage image;
    MakeTagged(image, 3, 3);
    TestWindow w(8, 8);
    EXPECT_EQ(image.Draw(w.dc, -1000000000, -1000000000, 2000000000, 2000000000), 1);
    EXPECT_EQ(w.Log().Find("CreateDIBSection")->args, (std::vector<int64_t>{8, 8, 24}));
    EXPECT_EQ(w.surface.PixelAt(0, 0), Tag(1, 1));
    const RECT huge{-2147483647, -2147483647, 2147483647, 2147483647};
    EXPECT_EQ(image.Draw(w.dc, huge, nullptr, true), 1);
    EXPECT_EQ(image.Draw(w.dc, 2147483600, 2147483600, 2000000000, 2000000000, nullptr, true), 1);
}

TEST(DrawResampled, EnormousEnlargementReadsOnlyInsideTheImage) {
    // fy = 1000 / 2^30: the top device row maps to 1000 - fy, which a float rounds to 1000,
    // one row past the image; it must show the top row.
    CfImage image;
    MakeTagged(image, 3, 1000);
    TestWindow w(3, 4);
    EXPECT_EQ(image.Draw(w.dc, 0, 0, 3, 1 << 30), 1);
    EXPECT_EQ(w.surface.PixelAt(0, 0), Tag(0, 999));
    EXPECT_EQ(w.surface.PixelAt(2, 3), Tag(2, 999));
    ASSERT_TRUE(image.CreateAlphaChannel());
    EXPECT_EQ(image.Draw(w.dc, 0, 0, 3, 1 << 30, nullptr, true), 1);
    EXPECT_EQ(w.surface.PixelAt(0, 0), Tag(0, 999));
}

TEST(DrawClipping, NothingVisibleStillSucceeds) {
    CfImage image;
    MakeTagged(image, 3, 3);
    TestWindow w(8, 8);
    EXPECT_EQ(image.Draw(w.dc, 20, 20, 6, 6), 1);
    EXPECT_EQ(w.Log().Find("CreateDIBSection")->args, (std::vector<int64_t>{0, 0, 24}));
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            ASSERT_EQ(w.surface.PixelAt(x, y), kWindowColor);
        }
    }
}

TEST(DrawClipping, ClipRectangleLimitsTheDrawingAndTheRegionComesBack) {
    CfImage image;
    MakeTagged(image, 10, 10);
    TestWindow w(50, 50);
    const RECT device{5, 5, 45, 45};
    HRGN region = CreateRectRgnIndirect(&device);
    ExtSelectClipRgn(w.dc, region, RGN_AND);
    DeleteObject(region);
    const CRgn before = w.dc->ClipRegion();

    const RECT clip{0, 0, 20, 20};
    EXPECT_EQ(image.Draw(w.dc, 0, 0, 40, 40, &clip), 1);
    EXPECT_TRUE(w.dc->ClipRegion().SameArea(before));
    EXPECT_EQ(w.dc->SaveLevel(), 0);
    EXPECT_EQ(w.Log().Find("CreateDIBSection")->args, (std::vector<int64_t>{15, 15, 24}));
    EXPECT_EQ(w.surface.PixelAt(4, 10), kWindowColor);
    EXPECT_EQ(w.surface.PixelAt(20, 10), kWindowColor);
    EXPECT_EQ(w.surface.PixelAt(5, 5), Tag(1, 8));
    EXPECT_EQ(w.surface.PixelAt(19, 19), Tag(4, 5));
}

TEST(DrawRefusals, NothingToDrawReturnsZeroAndLeavesTheDevice) {
    CfImage empty;
    TestWindow w(4, 4);
    EXPECT_EQ(empty.Draw(w.dc, 0, 0, 4, 4), 0);
    CfImage image;
    MakeTagged(image, 2, 2);
    EXPECT_EQ(image.Draw(nullptr, 0, 0, 4, 4), 0);
    EXPECT_EQ(image.Draw(w.dc, 0, 0, 0, 4), 0);
    EXPECT_EQ(image.Draw(w.dc, 0, 0, 4, 0), 0);
    image.info.drawEnabled = false;
    EXPECT_EQ(image.Draw(w.dc, 0, 0, 4, 4), 0);
    EXPECT_TRUE(w.Log().Calls().empty());
}

TEST(DrawBlended, TransparentIndexLetsTheBackgroundThrough) {
    CfImage image;
    image.Create(4, 1, 8);
    image.SetPaletteEntry(0, 0, 0, 255);
    image.SetPaletteEntry(1, 0, 255, 0);
    for (int32_t x = 0; x < 4; ++x) {
        image.PutPixelIndex(x, 0, x % 2);
    }
    image.SetTransparentIndex(0);
    TestWindow w(6, 3, RgbColor(255, 0, 0));
    EXPECT_EQ(image.Draw(w.dc, 1, 1, 4, 1), 1);
    EXPECT_EQ(w.Log().Count("BitBlt"), 1u);
    EXPECT_EQ(w.surface.PixelAt(1, 1), RgbColor(255, 0, 0));
    EXPECT_EQ(w.surface.PixelAt(2, 1), RgbColor(0, 255, 0));
    EXPECT_EQ(w.surface.PixelAt(3, 1), RgbColor(255, 0, 0));
    EXPECT_EQ(w.surface.PixelAt(4, 1), RgbColor(0, 255, 0));
}

TEST(DrawBlended, TransparentColourOfATrueColourImage) {
    CfImage image;
    MakeTagged(image, 3, 1);
    image.SetTransparentColor(RGBQUAD{7, 0, 1, 0}); // Tag(1, 0)
    image.info.transparentIndex = 0;
    TestWindow w(3, 1, RgbColor(9, 9, 9));
    image.Draw(w.dc, 0, 0, 3, 1);
    EXPECT_EQ(w.surface.PixelAt(0, 0), Tag(0, 0));
    EXPECT_EQ(w.surface.PixelAt(1, 0), RgbColor(9, 9, 9));
    EXPECT_EQ(w.surface.PixelAt(2, 0), Tag(2, 0));
}

TEST(DrawBlended, HalfAlphaWhiteOverBlack) {
    CfImage image;
    const uint8_t white[4] = {255, 255, 255, 255};
    MakeGrey(image, 2, 2, white);
    ASSERT_TRUE(image.CreateAlphaChannel());
    for (int32_t y = 0; y < 2; ++y) {
        for (int32_t x = 0; x < 2; ++x) {
            image.PutAlpha(x, y, 128);
        }
    }
    TestWindow w(2, 2, RgbColor(0, 0, 0));
    image.Draw(w.dc, 0, 0, 2, 2);
    EXPECT_EQ(w.surface.PixelAt(0, 0), RgbColor(127, 127, 127));
    EXPECT_EQ(w.surface.PixelAt(1, 1), RgbColor(127, 127, 127));

    image.info.alphaMax = 0;
    for (int32_t y = 0; y < 2; ++y) {
        for (int32_t x = 0; x < 2; ++x) {
            image.PutAlpha(x, y, 255);
        }
    }
    TestWindow black(2, 2, RgbColor(0, 0, 0));
    image.Draw(black.dc, 0, 0, 2, 2);
    EXPECT_EQ(black.surface.PixelAt(0, 0), RgbColor(0, 0, 0));
    EXPECT_EQ(black.surface.PixelAt(1, 1), RgbColor(0, 0, 0));
}

TEST(DrawBlended, PaletteOpacityScalesTheAlpha) {
    CfImage image;
    image.Create(1, 1, 8);
    image.SetPaletteEntry(0, 255, 255, 255, 127); // (127 + 1) * 255 >> 8 = 127
    image.PutPixelIndex(0, 0, 0);
    image.info.paletteAlpha = true;
    TestWindow w(1, 1, RgbColor(0, 0, 0));
    image.Draw(w.dc, 0, 0, 1, 1);
    EXPECT_EQ(w.surface.PixelAt(0, 0), RgbColor(126, 126, 126)); // 255 * 127 >> 8
}

TEST(DrawBlended, ScaledAndFlippedUseTheSameMappingAsResampling) {
    CfImage image;
    MakeTagged(image, 100, 100);
    ASSERT_TRUE(image.CreateAlphaChannel());
    TestWindow w(50, 50);
    image.Draw(w.dc, 0, 0, 50, 50, nullptr, false, true);
    EXPECT_EQ(w.surface.PixelAt(10, 0), Tag(20, 0));
    EXPECT_EQ(w.surface.PixelAt(10, 49), Tag(20, 98));
}

} // namespace
