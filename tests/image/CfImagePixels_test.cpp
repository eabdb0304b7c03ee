#include "image/CfImage.h"

#include <cstring>

#include <gtest/gtest.h>

#include "tests/image/ImageTestSupport.h"

namespace {

using imagetest::RawColour;
using imagetest::RawIndex;
using imagetest::SetRawColour;
using imagetest::SetRawIndex;

TEST(CfImagePixels, IndexPackingPutsTheLeftmostPixelHigh) {
    CfImage one(10, 2, 1);
    one.Fill(0);
    one.PutPixelIndex(0, 1, 1);
    one.PutPixelIndex(9, 1, 3); // only the low bit counts
    const uint8_t *row = one.RowPointer(1);
    EXPECT_EQ(row[0], 0x80);
    EXPECT_EQ(row[1], 0x40);
    EXPECT_EQ(one.PixelIndexAt(9, 1), 1);
    one.PutPixelIndex(9, 1, 0);
    EXPECT_EQ(row[1], 0x00);
    EXPECT_EQ(row[0], 0x80) << "neighbours in the byte stay";

    CfImage four(3, 1, 4);
    four.Fill(0);
    four.PutPixelIndex(0, 0, 0xA);
    four.PutPixelIndex(1, 0, 0x15); // stored mod 16
    four.PutPixelIndex(2, 0, 0xC);
    EXPECT_EQ(four.RowPointer(0)[0], 0xA5);
    EXPECT_EQ(four.RowPointer(0)[1], 0xC0);
    EXPECT_EQ(four.PixelIndexAt(1, 0), 5);

    CfImage eight(2, 2, 8);
    eight.PutPixelIndex(1, 1, 200);
    EXPECT_EQ(eight.RowPointer(1)[1], 200);
    EXPECT_EQ(eight.PixelIndexAtUnguarded(1, 1), 200);
}

TEST(CfImagePixels, GuardedAccessOutsideAndOnWrongFormats) {
    CfImage image(4, 4, 8);
    image.Fill(9);
    image.PutPixelIndex(4, 0, 1);
    image.PutPixelIndex(-1, 0, 1);
    image.PutPixelIndex(0, 4, 1);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(RawIndex(image, x, y), 9);
        }
    }
    EXPECT_EQ(image.PixelIndexAt(-1, 0), 9) << "outside: the first pixel byte";
    image.SetTransparentIndex(5);
    EXPECT_EQ(image.PixelIndexAt(-1, 0), 5);
    EXPECT_EQ(image.PixelIndexAt(0, 4), 5);

    CfImage empty;
    EXPECT_EQ(empty.PixelIndexAt(0, 0), 0);
    empty.PutPixelIndex(0, 0, 1);
    empty.Fill(3);
    EXPECT_EQ(empty.RowPointer(0), nullptr);

    CfImage rgb(2, 2, 24);
    EXPECT_EQ(rgb.PixelIndexAt(0, 0), 0);
    EXPECT_NE(rgb.PixelPointer(1, 1), nullptr);
    EXPECT_EQ(image.PixelPointer(0, 0), nullptr) << "palette images have no colour pointer";
    EXPECT_TRUE(rgb.Contains(1, 1));
    EXPECT_FALSE(rgb.Contains(2, 1));
    EXPECT_FALSE(rgb.Contains(0, -1));
}

TEST(CfImagePixels, FillSpreadsTheValueOverEveryPixelByte) {
    CfImage one(3, 2, 1);
    one.Fill(7);
    EXPECT_EQ(one.RowPointer(1)[3], 255);
    one.Fill(0);
    EXPECT_EQ(one.RowPointer(0)[0], 0);
    CfImage four(3, 2, 4);
    four.Fill(0x13);
    EXPECT_EQ(four.RowPointer(0)[0], 3 * 17);
    CfImage rgb(3, 2, 24);
    rgb.Fill(0x42);
    EXPECT_EQ(rgb.RowPointer(1)[11], 0x42);
}

TEST(CfImagePixels, ColourReadAndWrite) {
    CfImage rgb(3, 2, 24);
    rgb.PutPixelColor(1, 1, RGBQUAD{10, 20, 30, 99});
    EXPECT_EQ(RawColour(rgb, 1, 1), 0x1E140Au);
    EXPECT_EQ(rgb.PixelColorAt(1, 1), (RGBQUAD{10, 20, 30, 0}));
    ASSERT_TRUE(rgb.CreateAlphaChannel());
    rgb.PutPixelColor(1, 1, RGBQUAD{1, 2, 3, 77}, true);
    EXPECT_EQ(rgb.PixelColorAt(1, 1, true), (RGBQUAD{1, 2, 3, 77}));
    EXPECT_EQ(rgb.PixelColorAt(1, 1, false), (RGBQUAD{1, 2, 3, 0}));
    EXPECT_EQ(rgb.PixelColorAtUnguarded(1, 1, true), (RGBQUAD{1, 2, 3, 77}));

    // Outside, no transparent index: the colour of pixel (0, 0) with its alpha.
    SetRawColour(rgb, 0, 0, 0x0A0B0C);
    rgb.PutAlpha(0, 0, 44);
    EXPECT_EQ(rgb.PixelColorAt(-1, 5, false), (RGBQUAD{0x0C, 0x0B, 0x0A, 44}));
    // Outside with a transparent index on a 24-bit image: the transparent colour.
    rgb.info.transparentIndex = 0;
    rgb.SetTransparentColor(RGBQUAD{5, 6, 7, 8});
    EXPECT_EQ(rgb.PixelColorAt(3, 0), (RGBQUAD{5, 6, 7, 0}));

    CfImage empty;
    empty.SetTransparentColor(RGBQUAD{1, 1, 1, 1});
    EXPECT_EQ(empty.PixelColorAt(0, 0), (RGBQUAD{1, 1, 1, 0}));
}

TEST(CfImagePixels, PaletteColourWritesTheNearestEntry) {
    CfImage image(4, 1, 4);
    image.SetGreyPalette();
    image.PutPixelColor(2, 0, RGBQUAD{40, 40, 40, 0}); // closest grey: 34 (index 2)
    EXPECT_EQ(RawIndex(image, 2, 0), 2);
    EXPECT_EQ(image.PixelColorAt(2, 0), (RGBQUAD{34, 34, 34, 0}));
    image.SetTransparentIndex(15);
    EXPECT_EQ(image.PixelColorAt(9, 9), (RGBQUAD{255, 255, 255, 0}));
    EXPECT_EQ(image.GetTransparentColor(), (RGBQUAD{255, 255, 255, 0}));
}

TEST(CfImagePalette, GreyPalettesForEveryDepth) {
    CfImage two(1, 1, 1);
    two.SetGreyPalette();
    EXPECT_EQ(two.PaletteEntry(0).rgbRed, 0);
    EXPECT_EQ(two.PaletteEntry(1).rgbRed, 255);
    CfImage sixteen(1, 1, 4);
    sixteen.PalettePointer()[3].rgbReserved = 9;
    sixteen.SetGreyPalette();
    for (int i = 0; i < 16; ++i) {
        const RGBQUAD e = sixteen.PaletteEntry(uint8_t(i));
        EXPECT_EQ(e.rgbBlue, i * 17);
        EXPECT_EQ(e.rgbGreen, i * 17);
        EXPECT_EQ(e.rgbRed, i * 17);
    }
    EXPECT_EQ(sixteen.PaletteEntry(3).rgbReserved, 9) << "the fourth byte stays";
    CfImage full(1, 1, 8);
    full.SetGreyPalette();
    EXPECT_EQ(full.PaletteEntry(200), (RGBQUAD{200, 200, 200, 0}));
    CfImage rgb(1, 1, 24);
    rgb.SetGreyPalette(); // no palette: nothing to do, nothing to crash
    EXPECT_EQ(rgb.PalettePointer(), nullptr);
}

TEST(CfImagePalette, EntriesAreGuardedByTheColourCount) {
    CfImage image(1, 1, 4);
    image.SetPaletteEntry(15, 1, 2, 3, 4);
    EXPECT_EQ(image.PaletteEntry(15), (RGBQUAD{3, 2, 1, 4}));
    image.SetPaletteEntry(16, 9, 9, 9);
    EXPECT_EQ(image.PaletteEntry(16), RGBQUAD{});

    RGBQUAD table[256];
    for (int i = 0; i < 256; ++i) {
        table[i] = RGBQUAD{uint8_t(i), uint8_t(i + 1), uint8_t(i + 2), 0};
    }
    image.CopyPalette(table, 256); // only 16 entries fit
    EXPECT_EQ(image.PaletteEntry(15), table[15]);
    image.CopyPalette(nullptr, 4);
    EXPECT_EQ(image.PaletteEntry(15), table[15]);
    CfImage rgb(1, 1, 24);
    rgb.CopyPalette(table, 256);
    EXPECT_EQ(rgb.PaletteEntry(0), RGBQUAD{});
}

TEST(CfImagePalette, ChannelsFallBackFromBlueToGreenToRed) {
    CfImage image(1, 1, 1);
    const uint8_t reds[] = {10, 20, 30};
    const uint8_t greens[] = {11, 21, 31};
    image.SetPaletteEntry(1, 0, 0, 0, 77);
    image.SetPaletteChannels(3, reds, greens, nullptr);
    EXPECT_EQ(image.PaletteEntry(0), (RGBQUAD{11, 11, 10, 0}));
    EXPECT_EQ(image.PaletteEntry(1), (RGBQUAD{21, 21, 20, 77}));
    image.SetPaletteChannels(2, reds, nullptr, nullptr);
    EXPECT_EQ(image.PaletteEntry(1), (RGBQUAD{20, 20, 20, 77}));
}

TEST(CfImagePalette, NearestIndexPrefersTheFirstOfEqualEntriesAndCaches) {
    CfImage image(1, 1, 4);
    image.SetPaletteEntry(2, 100, 100, 100);
    image.SetPaletteEntry(5, 100, 100, 100);
    image.SetPaletteEntry(7, 200, 0, 0);
    EXPECT_EQ(image.NearestIndex(RGBQUAD{100, 100, 101, 0}), 2);
    EXPECT_EQ(image.NearestIndex(RGBQUAD{0, 0, 190, 0}), 7);
    EXPECT_TRUE(image.info.nearestValid);
    // SetGreyPalette leaves the cache, so the stale answer comes back for the same colour.
    image.SetGreyPalette();
    EXPECT_EQ(image.NearestIndex(RGBQUAD{0, 0, 190, 0}), 7);
    image.SetPaletteEntry(0, 0, 0, 0);
    EXPECT_FALSE(image.info.nearestValid);
    EXPECT_EQ(image.NearestIndex(RGBQUAD{0, 0, 190, 0}), 4) << "grey 68 is the closest now";
    // A colour-important count from a file never widens the search past the palette.
    image.header.biClrImportant = 1000;
    EXPECT_EQ(image.NearestIndex(RGBQUAD{255, 255, 255, 0}), 15);
    image.header.biClrImportant = 2;
    EXPECT_EQ(image.NearestIndex(RGBQUAD{250, 250, 250, 0}), 1);
    CfImage rgb(1, 1, 24);
    EXPECT_EQ(rgb.NearestIndex(RGBQUAD{1, 2, 3, 0}), 0);
}

TEST(CfImagePalette, TransparentIndexIsCheckedAgainstTheColourCount) {
    CfImage image(2, 2, 8);
    image.SetTransparentIndex(300);
    EXPECT_EQ(image.GetTransparentIndex(), 0);
    image.SetTransparentIndex(255);
    EXPECT_EQ(image.GetTransparentIndex(), 255);
    image.SetTransparentIndex(-1);
    EXPECT_EQ(image.GetTransparentIndex(), -1);
    CfImage rgb(2, 2, 24);
    rgb.SetTransparentIndex(3);
    EXPECT_EQ(rgb.GetTransparentIndex(), 0);
    rgb.SetTransparentIndex(-1);
    EXPECT_EQ(rgb.GetTransparentIndex(), -1);
}

TEST(CfImagePixels, SwapRedBlueStopsAtTheWidth) {
    CfImage image(2, 1, 24); // stride 8: two pixels and two padding bytes
    uint8_t *row = image.RowPointer(0);
    const uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    memcpy(row, bytes, 8);
    image.SwapRedBlueInRow(row, 100);
    const uint8_t expected[8] = {3, 2, 1, 6, 5, 4, 7, 8};
    EXPECT_EQ(memcmp(row, expected, 8), 0);
    image.SwapRedBlueInRow(row, 4); // one whole pixel only
    const uint8_t once[8] = {1, 2, 3, 6, 5, 4, 7, 8};
    EXPECT_EQ(memcmp(row, once, 8), 0);
    image.SwapRedBlueInRow(nullptr, 8);
    CfImage palette(4, 1, 8);
    memset(palette.RowPointer(0), 1, 4);
    palette.RowPointer(0)[0] = 9;
    palette.SwapRedBlueInRow(palette.RowPointer(0), 4);
    EXPECT_EQ(palette.RowPointer(0)[0], 9);
}

TEST(CfImageAlpha, ChannelOperations) {
    CfImage image(3, 2, 24);
    EXPECT_FALSE(image.HasAlphaChannel());
    image.PutAlpha(0, 0, 5); // no channel: nothing happens
    ASSERT_TRUE(image.CreateAlphaChannel());
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(image.alpha[i], 255);
    }
    image.PutAlpha(2, 1, 10);
    image.PutAlpha(3, 1, 11); // outside
    EXPECT_EQ(image.alpha[2 + 1 * 3], 10);
    EXPECT_EQ(image.AlphaPointer(2, 1), image.alpha + 5);
    EXPECT_EQ(image.AlphaPointer(3, 0), nullptr);
    image.InvertAlphaChannel();
    EXPECT_EQ(image.AlphaAtUnguarded(2, 1), 245);
    EXPECT_EQ(image.AlphaAtUnguarded(0, 0), 0);

    image.PutAlpha(0, 0, 1);
    image.PutAlpha(1, 0, 2);
    image.PutAlpha(0, 1, 3);
    ASSERT_TRUE(image.FlipAlphaChannel());
    EXPECT_EQ(image.AlphaAtUnguarded(0, 1), 1);
    EXPECT_EQ(image.AlphaAtUnguarded(0, 0), 3);
    ASSERT_TRUE(image.MirrorAlphaChannel());
    EXPECT_EQ(image.AlphaAtUnguarded(2, 1), 1);
    EXPECT_EQ(image.AlphaAtUnguarded(1, 1), 2);
    image.DeleteAlphaChannel();
    EXPECT_FALSE(image.HasAlphaChannel());
    EXPECT_FALSE(image.FlipAlphaChannel());
    EXPECT_FALSE(image.MirrorAlphaChannel());
}

TEST(CfImageAlpha, RefusesToAllocateForSizesNeverCreated) {
    CfImage image;
    EXPECT_FALSE(image.CreateAlphaChannel());
    // A header-only decode may leave any dimensions in the header.
    image.header.biWidth = 100000;
    image.header.biHeight = 100000;
    EXPECT_FALSE(image.CreateAlphaChannel());
    image.header.biWidth = -4;
    image.header.biHeight = 2;
    EXPECT_FALSE(image.CreateAlphaChannel());
}

} // namespace
