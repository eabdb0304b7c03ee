#include "image/CfImage.h"

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "tests/image/ImageTestSupport.h"

namespace {

using imagetest::FillPattern;
using imagetest::PatternValue;
using imagetest::RawColour;
using imagetest::RawPixel;

class CfImageTransformTest : public ::testing::TestWithParam<int> {};

// Sizes with widths across byte and tile boundaries (1 bit: 9 spans two bytes, 16 fills two
// exactly; 70 > 64).
struct Size {
    int width, height;
};
const Size kSizes[] = {{1, 1}, {3, 2}, {9, 5}, {16, 2}, {70, 3}, {5, 67}};

TEST_P(CfImageTransformTest, FlipReversesTheRows) {
    const int bits = GetParam();
    for (Size s : kSizes) {
        CfImage image(uint32_t(s.width), uint32_t(s.height), uint32_t(bits));
        FillPattern(image);
        ASSERT_TRUE(image.FlipVertical());
        for (int y = 0; y < s.height; ++y) {
            for (int x = 0; x < s.width; ++x) {
                ASSERT_EQ(RawPixel(image, x, y), PatternValue(bits, x, s.height - 1 - y))
                    << s.width << "x" << s.height << " at " << x << "," << y;
            }
        }
    }
}

TEST_P(CfImageTransformTest, MirrorReversesEveryRow) {
    const int bits = GetParam();
    for (Size s : kSizes) {
        CfImage image(uint32_t(s.width), uint32_t(s.height), uint32_t(bits), FormatTiff);
        FillPattern(image);
        image.SetDpiX(300);
        ASSERT_TRUE(image.MirrorHorizontal());
        EXPECT_EQ(image.GetWidth(), uint32_t(s.width));
        EXPECT_EQ(image.GetDpiX(), 300);
        EXPECT_EQ(image.info.type, FormatTiff);
        for (int y = 0; y < s.height; ++y) {
            for (int x = 0; x < s.width; ++x) {
                ASSERT_EQ(RawPixel(image, x, y), PatternValue(bits, s.width - 1 - x, y))
                    << s.width << "x" << s.height << " at " << x << "," << y;
            }
        }
    }
}

TEST_P(CfImageTransformTest, QuarterTurnsMoveEveryPixel) {
    const int bits = GetParam();
    for (Size s : kSizes) {
        CfImage left(uint32_t(s.width), uint32_t(s.height), uint32_t(bits), FormatTiff);
        FillPattern(left);
        left.SetDpiX(200);
        left.SetDpiY(100);
        ASSERT_TRUE(left.RotateLeft());
        ASSERT_EQ(left.GetWidth(), uint32_t(s.height));
        ASSERT_EQ(left.GetHeight(), uint32_t(s.width));
        EXPECT_EQ(left.GetDpiX(), 200) << "resolutions are not exchanged";
        EXPECT_EQ(left.header.biXPelsPerMeter, 7874);
        EXPECT_EQ(left.info.type, FormatTiff);
        // Counter-clockwise: the source's top-left corner becomes the bottom-left one;
        // source (sx, sy) lands at (H - 1 - sy, sx).
        for (int sy = 0; sy < s.height; ++sy) {
            for (int sx = 0; sx < s.width; ++sx) {
                ASSERT_EQ(RawPixel(left, s.height - 1 - sy, sx), PatternValue(bits, sx, sy))
                    << "left " << s.width << "x" << s.height << " source " << sx << "," << sy;
            }
        }

        CfImage right(uint32_t(s.width), uint32_t(s.height), uint32_t(bits));
        FillPattern(right);
        ASSERT_TRUE(right.RotateRight());
        // Clockwise: source (sx, sy) lands at (sy, W - 1 - sx).
        for (int sy = 0; sy < s.height; ++sy) {
            for (int sx = 0; sx < s.width; ++sx) {
                ASSERT_EQ(RawPixel(right, sy, s.width - 1 - sx), PatternValue(bits, sx, sy))
                    << "right " << s.width << "x" << s.height << " source " << sx << "," << sy;
            }
        }
        EXPECT_EQ(right.info.progress, 0) << "progress is reported on the source";
    }
}

TEST_P(CfImageTransformTest, LeftThenRightGivesBackTheImage) {
    const int bits = GetParam();
    CfImage image(13, 7, uint32_t(bits));
    FillPattern(image);
    ASSERT_TRUE(image.RotateLeft());
    ASSERT_TRUE(image.RotateRight());
    ASSERT_EQ(image.GetWidth(), 13u);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 13; ++x) {
            ASSERT_EQ(RawPixel(image, x, y), PatternValue(bits, x, y));
        }
    }
}

// Every orientation value at every depth: stored pixel (row r from the top, column c) of a
// W x H picture must be shown at the place the value says (EXIF and TIFF alike).
TEST_P(CfImageTransformTest, OrientationsTurnThePictureUpright) {
    const int bits = GetParam();
    const int w = 9;
    const int h = 5;
    for (int orientation = 0; orientation <= 9; ++orientation) {
        CfImage stored{uint32_t(w), uint32_t(h), uint32_t(bits)};
        FillPattern(stored);
        CfImage shown(stored);
        ASSERT_TRUE(shown.ApplyOrientation(orientation));
        const bool turned = orientation >= 5 && orientation <= 8;
        ASSERT_EQ(shown.GetWidth(), uint32_t(turned ? h : w)) << orientation;
        for (int r = 0; r < h; ++r) {
            for (int c = 0; c < w; ++c) {
                // Where the stored pixel lands, as (row from the top, column).
                const int rows[] = {r, r, r, h - 1 - r, h - 1 - r, c, c, w - 1 - c, w - 1 - c, r};
                const int cols[] = {c, c, w - 1 - c, w - 1 - c, c, r, h - 1 - r, h - 1 - r, r, c};
                const int shownHeight = int(shown.GetHeight());
                ASSERT_EQ(RawPixel(shown, cols[orientation], shownHeight - 1 - rows[orientation]),
                          RawPixel(stored, c, h - 1 - r))
                    << "orientation " << orientation << ", stored " << r << "," << c;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, CfImageTransformTest, ::testing::Values(1, 4, 8, 24),
                         [](const auto &depth) { return std::to_string(depth.param) + "bit"; });

TEST(CfImageTransform, ThreeByTwoCornersMatchTheTurnDirections) {
    // Rows are bottom-up: (0, 1) is the top-left pixel.
    CfImage image(3, 2, 24);
    imagetest::SetRawColour(image, 0, 1, 0x111111); // top-left
    imagetest::SetRawColour(image, 0, 0, 0x222222); // bottom-left
    CfImage left(image);
    ASSERT_TRUE(left.RotateLeft());
    EXPECT_EQ(RawColour(left, 0, 0), 0x111111u) << "bottom-left after a left turn";
    CfImage right(image);
    ASSERT_TRUE(right.RotateRight());
    EXPECT_EQ(RawColour(right, 0, 2), 0x222222u) << "top-left after a right turn";
}

TEST(CfImageTransform, RotationIntoATargetLeavesTheSource) {
    CfImage image(4, 2, 8);
    FillPattern(image);
    CfImage target(1, 1, 24);
    ASSERT_TRUE(image.RotateRight(&target));
    EXPECT_EQ(image.GetWidth(), 4u);
    EXPECT_EQ(RawPixel(image, 3, 1), PatternValue(8, 3, 1));
    ASSERT_EQ(target.GetWidth(), 2u);
    ASSERT_EQ(target.GetBitsPerPixel(), 8);
    EXPECT_EQ(RawPixel(target, 1, 0), PatternValue(8, 3, 1));
}

TEST(CfImageTransform, AlphaFollowsEveryTransform) {
    CfImage image(3, 2, 24);
    ASSERT_TRUE(image.CreateAlphaChannel());
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            image.PutAlpha(x, y, uint8_t(10 * y + x));
        }
    }
    CfImage flipped(image);
    ASSERT_TRUE(flipped.FlipVertical(false, true));
    EXPECT_EQ(flipped.AlphaAtUnguarded(2, 0), 12);
    CfImage kept(image);
    ASSERT_TRUE(kept.FlipVertical(false, false));
    EXPECT_EQ(kept.AlphaAtUnguarded(2, 0), 2);
    CfImage mirrored(image);
    ASSERT_TRUE(mirrored.MirrorHorizontal(false, true));
    EXPECT_EQ(mirrored.AlphaAtUnguarded(0, 1), 12);
    CfImage left(image);
    ASSERT_TRUE(left.RotateLeft());
    EXPECT_EQ(left.AlphaAtUnguarded(0, 0), 10); // source (0, 1) -> (H - 1 - 1, 0)
    EXPECT_EQ(left.AlphaAtUnguarded(1, 2), 2);  // source (2, 0) -> (1, 2)
    CfImage right(image);
    ASSERT_TRUE(right.RotateRight());
    EXPECT_EQ(right.AlphaAtUnguarded(1, 0), 12); // source (2, 1) -> (1, 0)
}

TEST(CfImageTransform, EmptyImagesAndOneRowFlips) {
    CfImage empty;
    EXPECT_FALSE(empty.FlipVertical());
    EXPECT_FALSE(empty.MirrorHorizontal());
    EXPECT_FALSE(empty.RotateLeft());
    EXPECT_FALSE(empty.RotateRight());
    CfImage row(5, 1, 8);
    FillPattern(row);
    ASSERT_TRUE(row.FlipVertical());
    EXPECT_EQ(RawPixel(row, 4, 0), PatternValue(8, 4, 0));
}

TEST(CfImageTransform, MirrorOfNineOneBitPixelsSwapsTheEnds) {
    CfImage image(9, 1, 1);
    image.Fill(0);
    imagetest::SetRawIndex(image, 8, 0, 1);
    ASSERT_TRUE(image.MirrorHorizontal());
    EXPECT_EQ(imagetest::RawIndex(image, 0, 0), 1);
    EXPECT_EQ(imagetest::RawIndex(image, 8, 0), 0);
}

TEST(CfImageTransform, TransformsKeepTheImagesFrames) {
    CfImage image(2, 3, 8);
    image.frames = static_cast<CfImage **>(calloc(1, sizeof(CfImage *)));
    image.frames[0] = new CfImage(1, 1, 8);
    image.info.frameCount = 1;
    CfImage **frames = image.frames;
    ASSERT_TRUE(image.MirrorHorizontal());
    ASSERT_TRUE(image.RotateLeft());
    EXPECT_EQ(image.frames, frames);
    EXPECT_EQ(image.info.frameCount, 1);
}

// 16-bit source rows hold ((W + 1) / 2) * 4 bytes.
std::vector<uint8_t> Rows16(const std::vector<std::vector<uint16_t>> &rows, int width) {
    const size_t rowBytes = size_t(width + 1) / 2 * 4;
    std::vector<uint8_t> out(rowBytes * rows.size(), 0xEE);
    for (size_t y = 0; y < rows.size(); ++y) {
        for (size_t x = 0; x < rows[y].size(); ++x) {
            out[y * rowBytes + 2 * x] = uint8_t(rows[y][x]);
            out[y * rowBytes + 2 * x + 1] = uint8_t(rows[y][x] >> 8);
        }
    }
    return out;
}

TEST(CfImageBitfields, FiveSixFive) {
    CfImage image(3, 2, 24);
    const auto source = Rows16({{0xFFFF, 0xF800, 0x07E0}, {0x001F, 0x0000, 0x8410}}, 3);
    image.BitfieldsToRgb(source.data(), 0xF800, 0x07E0, 0x001F, 16);
    EXPECT_EQ(RawColour(image, 0, 0), 0xF8FCF8u);
    EXPECT_EQ(RawColour(image, 1, 0), 0xF80000u);
    EXPECT_EQ(RawColour(image, 2, 0), 0x00FC00u);
    EXPECT_EQ(RawColour(image, 0, 1), 0x0000F8u);
    EXPECT_EQ(RawColour(image, 1, 1), 0x000000u);
    EXPECT_EQ(RawColour(image, 2, 1), 0x808080u);
}

TEST(CfImageBitfields, FiveFiveFiveInPlace) {
    // The decoder reads 16-bit rows into the image's own pixel memory and converts there.
    const int width = 5;
    const int height = 3;
    CfImage image(width, height, 24);
    std::vector<std::vector<uint16_t>> rows(height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint16_t r = uint16_t((x * 5 + y) & 31), g = uint16_t((x + 7 * y) & 31),
                           b = uint16_t((3 * x + 2 * y) & 31);
            rows[size_t(y)].push_back(uint16_t(r << 10 | g << 5 | b));
        }
    }
    const auto source = Rows16(rows, width);
    memcpy(image.info.pixels, source.data(), source.size());
    image.BitfieldsToRgb(image.info.pixels, 0x7C00, 0x03E0, 0x001F, 16);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint16_t v = rows[size_t(y)][size_t(x)];
            const uint32_t r = (v >> 10 & 31) << 3, g = (v >> 5 & 31) << 3, b = (v & 31) << 3;
            ASSERT_EQ(RawColour(image, x, y), r << 16 | g << 8 | b) << x << "," << y;
        }
    }
}

TEST(CfImageBitfields, ThirtyTwoBitMasksPickBytes) {
    CfImage image(2, 1, 24);
    const uint8_t source[8] = {0x11, 0x22, 0x33, 0x44, 0xA1, 0xA2, 0xA3, 0xA4};
    image.BitfieldsToRgb(source, 0x00FF0000, 0x0000FF00, 0x000000FF, 32);
    EXPECT_EQ(RawColour(image, 0, 0), 0x332211u);
    EXPECT_EQ(RawColour(image, 1, 0), 0xA3A2A1u);
    image.BitfieldsToRgb(source, 0x000000FF, 0x0000FF00, 0xFF000000, 32);
    EXPECT_EQ(RawColour(image, 0, 0), 0x112244u);
}

TEST(CfImageBitfields, OtherFieldWidthsKeepTheirTopBits) {
    // 2-3-1 in 16 bits: red 0x0030, green 0x000E, blue 0x0001.
    CfImage small(2, 1, 24);
    const auto source = Rows16({{0x003F, 0x0024}}, 2);
    small.BitfieldsToRgb(source.data(), 0x0030, 0x000E, 0x0001, 16);
    EXPECT_EQ(RawColour(small, 0, 0), 0xC0E080u);
    EXPECT_EQ(RawColour(small, 1, 0), 0x804000u);
    // 10-10-10 in 32 bits: the top 8 bits of each field; the two bits above are ignored.
    CfImage wide(1, 1, 24);
    const uint32_t pixel = 0xC0000000u | 0x3FFu << 20 | 0x200u << 10 | 0x0FFu;
    const uint8_t bytes[4] = {uint8_t(pixel), uint8_t(pixel >> 8), uint8_t(pixel >> 16),
                              uint8_t(pixel >> 24)};
    wide.BitfieldsToRgb(bytes, 0x3FF00000, 0x000FFC00, 0x000003FF, 32);
    EXPECT_EQ(RawColour(wide, 0, 0), 0xFF803Fu);
}

TEST(CfImageBitfields, OddMasksAndWrongTargetsAreHarmless) {
    CfImage image(2, 1, 24);
    image.Fill(0x5A);
    const uint8_t source[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    image.BitfieldsToRgb(source, 0x7C00, 0x03E0, 0x001F, 24); // not 16 or 32: nothing
    EXPECT_EQ(RawColour(image, 0, 0), 0x5A5A5Au);
    image.BitfieldsToRgb(source, 0x0001, 0x0002, 0x0004, 16); // tiny masks: no shift UB
    image.BitfieldsToRgb(source, 0xFFFF, 0xFFFF, 0xFFFF, 16);
    image.BitfieldsToRgb(source, 0, 0, 0, 16);
    CfImage palette(2, 1, 8);
    palette.BitfieldsToRgb(source, 0xF800, 0x07E0, 0x001F, 16); // would overrun 8-bit rows
    EXPECT_EQ(palette.RowPointer(0)[0], 0);
}

} // namespace
