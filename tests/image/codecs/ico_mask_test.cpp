// The AND mask of classic icon entries: a transparent palette index where the pixels allow it,
// an alpha channel otherwise, the inverting all-ones mask, and missing masks.

#include <gtest/gtest.h>

#include "image/codecs/CfImageICO.h"
#include "tests/image/ImageTestSupport.h"
#include "tests/support/Ico.h"

namespace {

using namespace imagetest;
using namespace support;

std::vector<uint32_t> SixteenColours() {
    std::vector<uint32_t> palette;
    for (uint32_t i = 0; i < 16; ++i) {
        palette.push_back(0x100000 * i + 0x000F00 + i);
    }
    return palette;
}

// A 32 x 32 4-bit icon: index 3 in the four corners, which the mask marks; elsewhere the
// indices of `others` in a repeating pattern.
Bytes CornerIcon(const std::vector<uint8_t> &others) {
    std::vector<std::vector<uint8_t>> rows(32, std::vector<uint8_t>(32));
    std::vector<std::string> mask(32, std::string(32, '0'));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            rows[y][x] = others[(x + 2 * y) % others.size()];
        }
    }
    for (auto [x, y] : {std::pair{0, 0}, std::pair{31, 0}, std::pair{0, 31}, std::pair{31, 31}}) {
        rows[y][x] = 3;
        mask[y][x] = '1';
    }
    Bytes packed;
    for (const auto &row : rows) {
        for (int x = 0; x < 32; x += 2) {
            packed.push_back(static_cast<uint8_t>(row[x] << 4 | row[x + 1]));
        }
    }
    return MakeIco({{32, 32, ClassicIcon(32, 32, 4, SixteenColours(), packed, MaskRows(mask))}});
}

TEST(IcoMask, MaskedPixelsTakeAnUnusedPaletteIndex) {
    CfImageICO image;
    ASSERT_TRUE(DecodeBytes(image, CornerIcon({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14})));
    EXPECT_EQ(image.GetTransparentIndex(), 15);
    EXPECT_FALSE(image.HasAlphaChannel());
    EXPECT_EQ(image.PixelIndexAt(0, 0), 15);
    EXPECT_EQ(image.PixelIndexAt(31, 31), 15);
    EXPECT_EQ(image.PixelIndexAt(1, 0), 1);
}

TEST(IcoMask, AllIndicesUsedGivesTheMaskedPixelsOwnIndex) {
    // Index 3 occurs only under the mask, so it can stand for transparency.
    CfImageICO image;
    ASSERT_TRUE(
        DecodeBytes(image, CornerIcon({0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15})));
    EXPECT_EQ(image.GetTransparentIndex(), 3);
    EXPECT_FALSE(image.HasAlphaChannel());
    EXPECT_EQ(image.PixelIndexAt(0, 0), 3);
}

TEST(IcoMask, IndexSharedWithOpaquePixelsKeepsTheAlphaChannel) {
    // Index 3 also colours opaque pixels: making it transparent would hide them.
    CfImageICO image;
    ASSERT_TRUE(
        DecodeBytes(image, CornerIcon({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15})));
    EXPECT_EQ(image.GetTransparentIndex(), -1);
    ASSERT_TRUE(image.HasAlphaChannel());
    EXPECT_EQ(PixelAt(image, 0, 0).a, 0);
    EXPECT_EQ(image.PixelIndexAt(3, 0), 3);
    EXPECT_EQ(PixelAt(image, 3, 0).a, 255);
}

TEST(IcoMask, OneBitIconWithBothIndicesOpaqueKeepsTheAlphaChannel) {
    // Both indices occur outside the mask and the masked pixels are black, like the opaque
    // black ones: only the alpha channel tells them apart.
    const Bytes colour = {0x40, 0, 0, 0, 0xA0, 0, 0, 0}; // rows: 0 1 0 / 1 0 1
    CfImageICO image;
    ASSERT_TRUE(DecodeBytes(
        image,
        MakeIco({{3, 2, ClassicIcon(3, 2, 1, {0, 0xFFFFFF}, colour, MaskRows({"100", "010"}))}})));
    EXPECT_EQ(image.GetTransparentIndex(), -1);
    ASSERT_TRUE(image.HasAlphaChannel());
    EXPECT_EQ(PixelAt(image, 0, 0), (Bgra{0, 0, 0, 0}));
    EXPECT_EQ(PixelAt(image, 2, 0), (Bgra{0, 0, 0, 255}));
    EXPECT_EQ(PixelAt(image, 1, 1), (Bgra{0, 0, 0, 0}));
    EXPECT_EQ(PixelAt(image, 1, 0), (Bgra{255, 255, 255, 255}));
}

TEST(IcoMask, OneBitIconMaskedColourUnusedElsewhereBecomesTheIndex) {
    const Bytes colour = {0x40, 0, 0, 0, 0x40, 0, 0, 0}; // rows: 0 1 0 / 0 1 0
    CfImageICO image;
    ASSERT_TRUE(DecodeBytes(
        image,
        MakeIco({{3, 2, ClassicIcon(3, 2, 1, {0, 0xFFFFFF}, colour, MaskRows({"101", "101"}))}})));
    EXPECT_EQ(image.GetTransparentIndex(), 0);
    EXPECT_FALSE(image.HasAlphaChannel());
}

TEST(IcoMask, MaskedPixelsOfSeveralColoursShareAFreeIndex) {
    std::vector<uint32_t> palette(256, 0);
    palette[1] = 0xFF0000;
    palette[2] = 0x00FF00;
    const Bytes colour = {1, 2, 1, 0, 2, 2, 1, 0}; // 3 x 2, 8-bit rows of 4 bytes
    CfImageICO image;
    ASSERT_TRUE(DecodeBytes(
        image, MakeIco({{3, 2, ClassicIcon(3, 2, 8, palette, colour, MaskRows({"110", "000"}))}})));
    EXPECT_EQ(image.GetTransparentIndex(), 255);
    EXPECT_EQ(image.PixelIndexAt(0, 0), 255);
    EXPECT_EQ(image.PixelIndexAt(1, 0), 255);
    EXPECT_EQ(image.PixelIndexAt(2, 0), 1);
    EXPECT_FALSE(image.HasAlphaChannel());
}

TEST(IcoMask, EveryIndexInUseKeepsTheAlphaChannel) {
    // 16 x 16 8-bit: every index once; masked pixels 0 and 1 differ in colour.
    std::vector<uint32_t> palette;
    for (uint32_t i = 0; i < 256; ++i) {
        palette.push_back(i * 0x010101);
    }
    Bytes colour;
    for (int i = 0; i < 256; ++i) {
        colour.push_back(static_cast<uint8_t>(i));
    }
    std::vector<std::string> mask(16, std::string(16, '0'));
    mask[0] = "1100000000000000";
    CfImageICO image;
    ASSERT_TRUE(DecodeBytes(
        image, MakeIco({{16, 16, ClassicIcon(16, 16, 8, palette, colour, MaskRows(mask))}})));
    EXPECT_EQ(image.GetTransparentIndex(), -1);
    ASSERT_TRUE(image.HasAlphaChannel());
    EXPECT_EQ(PixelAt(image, 0, 0).a, 0);
    EXPECT_EQ(PixelAt(image, 1, 0).a, 0);
    EXPECT_EQ(PixelAt(image, 2, 0), (Bgra{2, 2, 2, 255}));
}

TEST(IcoMask, TrueColourIconGetsAlphaFromTheMask) {
    const Bytes colour = SolidRows(3, 2, {10, 20, 30});
    CfImageICO image;
    ASSERT_TRUE(DecodeBytes(
        image, MakeIco({{3, 2, ClassicIcon(3, 2, 24, {}, colour, MaskRows({"101", "000"}))}})));
    ASSERT_TRUE(image.HasAlphaChannel());
    EXPECT_EQ(PixelAt(image, 0, 0), (Bgra{10, 20, 30, 0}));
    EXPECT_EQ(PixelAt(image, 1, 0), (Bgra{10, 20, 30, 255}));
    EXPECT_EQ(PixelAt(image, 2, 0).a, 0);
    EXPECT_EQ(PixelAt(image, 1, 1).a, 255);
    EXPECT_EQ(image.GetTransparentIndex(), -1);
}

TEST(IcoMask, TrueColourIconWithEmptyMaskHasNoAlpha) {
    CfImageICO image;
    ASSERT_TRUE(DecodeBytes(
        image,
        MakeIco(
            {{2, 1, ClassicIcon(2, 1, 24, {}, SolidRows(2, 1, {1, 1, 1}), MaskRows({"00"}))}})));
    EXPECT_FALSE(image.HasAlphaChannel());
}

TEST(IcoMask, ThirtyTwoBitIconKeepsItsAlphaAndAddsTheMask) {
    const Bytes colour = {1, 2, 3, 200, 4, 5, 6, 0, 7, 8, 9, 255};
    CfImageICO image;
    ASSERT_TRUE(DecodeBytes(
        image, MakeIco({{3, 1, ClassicIcon(3, 1, 32, {}, colour, MaskRows({"001"}))}})));
    EXPECT_EQ(image.GetBitsPerPixel(), 24);
    EXPECT_EQ(PixelAt(image, 0, 0), (Bgra{1, 2, 3, 200}));
    EXPECT_EQ(PixelAt(image, 1, 0), (Bgra{4, 5, 6, 0}));
    EXPECT_EQ(PixelAt(image, 2, 0), (Bgra{7, 8, 9, 0}));
}

TEST(IcoMask, ThirtyTwoBitIconWithoutMaskKeepsItsAlpha) {
    const Bytes colour = {1, 2, 3, 10, 4, 5, 6, 20};
    CfImageICO image;
    ASSERT_TRUE(DecodeBytes(image, MakeIco({{2, 1, ClassicIcon(2, 1, 32, {}, colour, Bytes{})}})));
    EXPECT_EQ(PixelAt(image, 0, 0), (Bgra{1, 2, 3, 10}));
    EXPECT_EQ(PixelAt(image, 1, 0), (Bgra{4, 5, 6, 20}));
}

TEST(IcoMask, MissingMaskLeavesThePictureOpaque) {
    const Bytes colour = {0x12, 0, 0, 0};
    CfImageICO image;
    ASSERT_TRUE(DecodeBytes(
        image, MakeIco({{2, 1, ClassicIcon(2, 1, 4, SixteenColours(), colour, {0x80, 0})}})));
    EXPECT_EQ(image.GetTransparentIndex(), -1);
    EXPECT_FALSE(image.HasAlphaChannel());
    EXPECT_EQ(image.PixelIndexAt(0, 0), 1);
}

TEST(IcoMask, AllOnesMaskInvertsTheColours) {
    CfImageICO trueColour;
    ASSERT_TRUE(DecodeBytes(
        trueColour,
        MakeIco(
            {{2, 1, ClassicIcon(2, 1, 24, {}, SolidRows(2, 1, {0, 100, 255}), Bytes(4, 0xFF))}})));
    EXPECT_EQ(trueColour.GetTransparentIndex(), 0);
    EXPECT_FALSE(trueColour.HasAlphaChannel());
    EXPECT_EQ(PixelAt(trueColour, 1, 0), (Bgra{255, 155, 0, 255}));

    CfImageICO palette;
    ASSERT_TRUE(DecodeBytes(palette, MakeIco({{2, 1,
                                               ClassicIcon(2, 1, 1, {0x000000, 0x20A0FF},
                                                           {0x40, 0, 0, 0}, Bytes(4, 0xFF))}})));
    EXPECT_EQ(palette.GetTransparentIndex(), 0);
    EXPECT_EQ(palette.PixelIndexAt(1, 0), 1);
    EXPECT_EQ(PixelAt(palette, 1, 0), (Bgra{0x00, 0x5F, 0xDF, 255}));
    EXPECT_EQ(PixelAt(palette, 0, 0), (Bgra{255, 255, 255, 255}));
}

} // namespace
