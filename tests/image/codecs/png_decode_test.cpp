// The PNG decoder against libpng's own reading of the same file, for every colour type, bit
// depth, transparency and interlacing; then its header, resolution and bad-file behaviour.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include <png.h>
#include <zlib.h>

#include "image/codecs/CfImagePNG.h"
#include "tests/image/ImageTestSupport.h"
#include "tests/support/Bytes.h"
#include "tests/support/Picture.h"
#include "tests/support/Png.h"

namespace {

using namespace imagetest;
using namespace support;

struct Kind {
    PngColour colour;
    int bitDepth;
    bool transparency;
    bool interlaced;
    uint16_t expectedBits; // of the decoded bitmap
    bool expectedAlpha;
};

std::string Name(const testing::TestParamInfo<Kind> &info) {
    const Kind &k = info.param;
    const char *types[] = {"grey", "", "rgb", "palette", "greyalpha", "", "rgba"};
    return std::string(types[static_cast<int>(k.colour)]) + std::to_string(k.bitDepth) +
           (k.transparency ? "_trns" : "") + (k.interlaced ? "_interlaced" : "");
}

// A 13 x 11 image whose samples differ per pixel, row and channel; palette images get 2^bits
// distinct colours.
PngImage PatternImage(PngColour colour, int bitDepth) {
    PngImage image;
    image.width = 13;
    image.height = 11;
    image.colour = colour;
    image.bitDepth = bitDepth;
    image.data.assign(image.RowBytes() * image.height, 0);
    const uint32_t samples = image.width * static_cast<uint32_t>(image.Channels());
    const uint32_t mask = bitDepth == 16 ? 0xFFFF : (1u << bitDepth) - 1;
    for (uint32_t y = 0; y < image.height; ++y) {
        uint8_t *row = image.data.data() + y * image.RowBytes();
        for (uint32_t s = 0; s < samples; ++s) {
            const uint32_t value = ((s * 7919 + y * 104729 + 17) * 2654435761u >> 9) & mask;
            if (bitDepth == 16) {
                row[2 * s] = static_cast<uint8_t>(value >> 8);
                row[2 * s + 1] = static_cast<uint8_t>(value);
            } else if (bitDepth == 8) {
                row[s] = static_cast<uint8_t>(value);
            } else {
                const uint32_t bit = s * static_cast<uint32_t>(bitDepth);
                row[bit / 8] |= static_cast<uint8_t>(value << (8 - bitDepth - bit % 8));
            }
        }
    }
    if (colour == PngColour::Palette) {
        for (uint32_t i = 0; i < (1u << bitDepth); ++i) {
            image.palette.push_back((i * 37 + 5) % 256 << 16 | (255 - i * 11) % 256 << 8 |
                                    (i * 91) % 256);
        }
    }
    return image;
}

// The file with transparency: palette entries of graded opacity, or (grey, RGB) the colour of
// the image's first pixel made transparent.
Bytes WithTransparency(PngImage image) {
    for (size_t i = 0; i < image.palette.size(); ++i) {
        image.transparency.push_back(static_cast<uint8_t>(255 - i * 29));
    }
    for (int channel = 0; image.colour != PngColour::Palette && channel < image.Channels();
         ++channel) {
        if (image.bitDepth == 16) {
            support::Append(image.transparency,
                            {image.data[2 * channel], image.data[2 * channel + 1]});
        } else if (image.bitDepth == 8) {
            support::Append(image.transparency, {0, image.data[channel]});
        } else {
            support::Append(image.transparency,
                            {0, static_cast<uint8_t>(image.data[0] >> (8 - image.bitDepth))});
        }
    }
    return support::MakePng(image);
}

class PngKinds : public testing::TestWithParam<Kind> {};

TEST_P(PngKinds, DecodesAsLibpngReadsIt) {
    const Kind k = GetParam();
    PngImage png = PatternImage(k.colour, k.bitDepth);
    png.interlaced = k.interlaced;
    const Bytes file = k.transparency ? WithTransparency(png) : support::MakePng(png);
    const support::Picture reference = support::DecodePng(file);
    ASSERT_EQ(reference.width, 13);
    ASSERT_EQ(reference.components, 4);

    // Through detection, as the preview loads it.
    CfImage decoded;
    ASSERT_TRUE(DecodeWithHint(decoded, file, FormatUnknown)) << decoded.GetLastError();
    EXPECT_EQ(decoded.GetFormatType(), FormatPng);
    EXPECT_STREQ(decoded.GetLastError(), "");
    ASSERT_EQ(decoded.GetWidth(), 13u);
    ASSERT_EQ(decoded.GetHeight(), 11u);
    EXPECT_EQ(decoded.GetBitsPerPixel(), k.expectedBits);
    EXPECT_EQ(decoded.HasAlphaChannel(), k.expectedAlpha);

    // libpng's reading keeps the high byte of 16-bit samples; ours rounds.
    const int tolerance = k.bitDepth == 16 ? 1 : 0;
    int mismatches = 0;
    for (int row = 0; row < 11; ++row) {
        for (int x = 0; x < 13; ++x) {
            const Bgra got = PixelAt(decoded, x, 10 - row);
            const int diffs[] = {got.r - reference.At(x, row, 0), got.g - reference.At(x, row, 1),
                                 got.b - reference.At(x, row, 2), got.a - reference.At(x, row, 3)};
            for (int d : diffs) {
                if (std::abs(d) > tolerance) {
                    ++mismatches;
                    ADD_FAILURE() << "pixel " << x << "," << row << " differs by " << d;
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

constexpr PngColour kGrey = PngColour::Grey;
constexpr PngColour kGreyAlpha = PngColour::GreyAlpha;
constexpr PngColour kRgb = PngColour::Rgb;
constexpr PngColour kRgba = PngColour::Rgba;
constexpr PngColour kPalette = PngColour::Palette;

INSTANTIATE_TEST_SUITE_P(
    EveryColourType, PngKinds,
    testing::Values(
        Kind{kGrey, 1, false, false, 8, false}, Kind{kGrey, 2, false, true, 8, false},
        Kind{kGrey, 4, false, false, 8, false}, Kind{kGrey, 8, false, false, 8, false},
        Kind{kGrey, 16, false, true, 8, false}, Kind{kGrey, 8, true, false, 8, true},
        Kind{kGrey, 2, true, false, 8, true}, Kind{kGreyAlpha, 8, false, false, 8, true},
        Kind{kGreyAlpha, 16, false, true, 8, true}, Kind{kRgb, 8, false, false, 24, false},
        Kind{kRgb, 8, false, true, 24, false}, Kind{kRgb, 16, false, false, 24, false},
        Kind{kRgb, 8, true, false, 24, true}, Kind{kRgb, 16, true, true, 24, true},
        Kind{kRgba, 8, false, false, 24, true}, Kind{kRgba, 8, false, true, 24, true},
        Kind{kRgba, 16, false, false, 24, true}, Kind{kPalette, 1, false, false, 8, false},
        Kind{kPalette, 2, false, true, 8, false}, Kind{kPalette, 4, false, false, 8, false},
        Kind{kPalette, 8, false, false, 8, false}, Kind{kPalette, 8, false, true, 8, false},
        Kind{kPalette, 4, true, false, 24, true}, Kind{kPalette, 8, true, true, 24, true}),
    Name);

TEST(PngHeader, HeaderOnlyGivesTheSizeAndNoPixels) {
    const Bytes file = support::MakePng(support::PngImageOf(support::Pattern(300, 7, 4)));
    CfImagePNG image;
    image.SetEscapeCode(kEscapeHeaderOnly);
    ASSERT_TRUE(DecodeBytes(image, file));
    EXPECT_EQ(image.GetWidth(), 300u);
    EXPECT_EQ(image.GetHeight(), 7u);
    EXPECT_EQ(image.GetFormatType(), FormatPng);
    EXPECT_FALSE(image.IsValid());
}

TEST(PngHeader, ResolutionComesFromPhysAndTextIsIgnored) {
    PngImage picture = support::PngImageOf(support::Pattern(4, 4, 3));
    const Bytes plain = support::MakePng(picture);
    Bytes phys;
    support::PutBe32(phys, 11811); // 300 dots per inch
    support::PutBe32(phys, 11811);
    phys.push_back(1); // metres
    Bytes text = {'C', 'o', 'm', 'm', 'e', 'n', 't', 0};
    text.resize(100000, 'x');
    picture.chunks = {{"pHYs", phys}, {"tEXt", text}};
    CfImagePNG image;
    ASSERT_TRUE(DecodeBytes(image, support::MakePng(picture))) << image.GetLastError();
    EXPECT_EQ(image.GetDpiX(), 300);
    EXPECT_EQ(image.GetDpiY(), 300);

    CfImagePNG without;
    ASSERT_TRUE(DecodeBytes(without, plain));
    EXPECT_EQ(without.GetDpiX(), 96);
}

// Offset of the first IDAT chunk's length field.
size_t FirstIdat(const Bytes &file) {
    for (size_t at = 8; at + 8 <= file.size();) {
        const size_t length =
            size_t{file[at]} << 24 | file[at + 1] << 16 | file[at + 2] << 8 | file[at + 3];
        if (std::memcmp(&file[at + 4], "IDAT", 4) == 0) {
            return at;
        }
        at += 12 + length;
    }
    return 0;
}

TEST(PngBadFiles, TruncatedFilesFailWithAReasonAtEveryLength) {
    const Bytes file = support::MakePng(support::PngImageOf(support::Pattern(40, 30, 4)));
    for (size_t length = 0; length < file.size() - 12; length += 7) {
        CfImagePNG image;
        const Bytes cut(file.begin(), file.begin() + static_cast<long>(length));
        EXPECT_FALSE(DecodeBytes(image, cut)) << length;
        EXPECT_STRNE(image.GetLastError(), "") << length;
    }
}

TEST(PngBadFiles, DamagedImageDataFails) {
    Bytes file = support::MakePng(support::PngImageOf(support::Pattern(40, 30, 3)));
    const size_t idat = FirstIdat(file);
    ASSERT_NE(idat, 0u);
    file[idat + 10] ^= 0x55; // inside the compressed data: the chunk's CRC no longer matches
    CfImagePNG image;
    EXPECT_FALSE(DecodeBytes(image, file));
    EXPECT_NE(std::string(image.GetLastError()).find("CfImagePNG: "), std::string::npos);
}

TEST(PngBadFiles, HugeClaimedSizeIsRefusedBeforeAnyLargeAllocation) {
    // 60000 x 60000 RGBA: 14 GB of pixels for a file of a few hundred bytes.
    Bytes file = support::MakePng(support::PngImageOf(support::Pattern(1, 1, 4)));
    const uint8_t size[8] = {0, 0, 0xEA, 0x60, 0, 0, 0xEA, 0x60};
    std::memcpy(&file[16], size, sizeof size);
    const uLong crc = crc32(crc32(0, nullptr, 0), &file[12], 17);
    const uint8_t crcBytes[4] = {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8),
                                 uint8_t(crc)};
    std::memcpy(&file[29], crcBytes, 4);
    CfImagePNG image;
    EXPECT_FALSE(DecodeBytes(image, file));
    EXPECT_STRNE(image.GetLastError(), "");
    EXPECT_FALSE(image.IsValid());
}

TEST(PngBadFiles, OtherContentIsNotTakenForPng) {
    CfImagePNG image;
    EXPECT_FALSE(DecodeBytes(image, Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}));
    EXPECT_STREQ(image.GetLastError(), "CfImagePNG: not a PNG file");
}

} // namespace
