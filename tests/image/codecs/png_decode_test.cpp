// The PNG decoder against libpng's own reading of the same file, for every colour type, bit
// depth, transparency and interlacing; then its header, resolution and bad-file behaviour.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include <png.h>
#include <zlib.h>

#include "CodecBytes.h"
#include "PngTestFiles.h"
#include "image/codecs/CfImagePNG.h"

namespace {

struct Kind {
    int colorType;
    int bitDepth;
    bool transparency;
    bool interlaced;
    uint16_t expectedBits; // of the decoded bitmap
    bool expectedAlpha;
};

std::string Name(const testing::TestParamInfo<Kind> &info) {
    const Kind &k = info.param;
    const char *types[] = {"grey", "", "rgb", "palette", "greyalpha", "", "rgba"};
    return std::string(types[k.colorType]) + std::to_string(k.bitDepth) +
           (k.transparency ? "_trns" : "") + (k.interlaced ? "_interlaced" : "");
}

// A tRNS chunk naming one colour (grey or RGB) that the pattern's first pixel has, or giving
// palette entries graded opacities.
Bytes TransparencyFor(const PngPicture &p) {
    if (p.colorType == PNG_COLOR_TYPE_PALETTE) {
        Bytes alphas;
        for (size_t i = 0; i < p.palette.size() / 3; ++i) {
            alphas.push_back(static_cast<uint8_t>(255 - i * 29));
        }
        return alphas;
    }
    const auto sample = [&](int channel) -> Bytes {
        if (p.bitDepth == 16) {
            return {p.rows[2 * channel], p.rows[2 * channel + 1]};
        }
        const uint8_t first = p.rows[channel];
        const uint8_t value = p.bitDepth == 8 ? first : first >> (8 - p.bitDepth);
        return {0, value};
    };
    Bytes key = sample(0);
    if (p.colorType == PNG_COLOR_TYPE_RGB) {
        Append(key, sample(1));
        Append(key, sample(2));
    }
    return key;
}

class PngKinds : public testing::TestWithParam<Kind> {};

TEST_P(PngKinds, DecodesAsLibpngReadsIt) {
    const Kind k = GetParam();
    PngPicture picture = PatternPicture(13, 11, k.colorType, k.bitDepth);
    picture.interlaced = k.interlaced;
    if (k.transparency) {
        picture.transparency = TransparencyFor(picture);
    }
    const Bytes file = WritePng(picture);
    ASSERT_FALSE(file.empty());
    // libpng's simplified reader misreads interlaced 16-bit files, so the reference is its
    // reading of the same pixels stored without interlacing.
    PngPicture plain = picture;
    plain.interlaced = false;
    const Bytes reference = ReadPngAsRgba(WritePng(plain));
    ASSERT_EQ(reference.size(), 13u * 11 * 4);

    // Through detection, as the preview loads it.
    CfImage image;
    ASSERT_TRUE(DecodeWithHint(image, file, FormatUnknown)) << image.GetLastError();
    EXPECT_EQ(image.GetFormatType(), FormatPng);
    EXPECT_STREQ(image.GetLastError(), "");
    ASSERT_EQ(image.GetWidth(), 13u);
    ASSERT_EQ(image.GetHeight(), 11u);
    EXPECT_EQ(image.GetBitsPerPixel(), k.expectedBits);
    EXPECT_EQ(image.HasAlphaChannel(), k.expectedAlpha);

    // libpng's simplified reader rounds 16-bit samples by its own formula.
    const int tolerance = k.bitDepth == 16 ? 1 : 0;
    int mismatches = 0;
    for (uint32_t row = 0; row < 11; ++row) {
        for (uint32_t x = 0; x < 13; ++x) {
            const uint8_t *want = reference.data() + (row * 13 + x) * 4;
            const Bgra got =
                PixelAt(image, static_cast<int32_t>(x), static_cast<int32_t>(10 - row));
            const int diffs[] = {got.r - want[0], got.g - want[1], got.b - want[2],
                                 got.a - want[3]};
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

constexpr int kGrey = PNG_COLOR_TYPE_GRAY;
constexpr int kGreyAlpha = PNG_COLOR_TYPE_GRAY_ALPHA;
constexpr int kRgb = PNG_COLOR_TYPE_RGB;
constexpr int kRgba = PNG_COLOR_TYPE_RGB_ALPHA;
constexpr int kPalette = PNG_COLOR_TYPE_PALETTE;

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
    const Bytes file = WritePng(PatternPicture(300, 7, kRgba, 8));
    CfImagePNG image;
    image.SetEscapeCode(kEscapeHeaderOnly);
    ASSERT_TRUE(DecodeBytes(image, file));
    EXPECT_EQ(image.GetWidth(), 300u);
    EXPECT_EQ(image.GetHeight(), 7u);
    EXPECT_EQ(image.GetFormatType(), FormatPng);
    EXPECT_FALSE(image.IsValid());
}

TEST(PngHeader, ResolutionComesFromPhysAndTextIsIgnored) {
    PngPicture picture = PatternPicture(4, 4, kRgb, 8);
    picture.pixelsPerMetre = 11811; // 300 dots per inch
    picture.text = std::string(100000, 'x');
    CfImagePNG image;
    ASSERT_TRUE(DecodeBytes(image, WritePng(picture))) << image.GetLastError();
    EXPECT_EQ(image.GetDpiX(), 300);
    EXPECT_EQ(image.GetDpiY(), 300);

    CfImagePNG plain;
    ASSERT_TRUE(DecodeBytes(plain, WritePng(PatternPicture(4, 4, kRgb, 8))));
    EXPECT_EQ(plain.GetDpiX(), 96);
}

// Offsets of the first IDAT chunk's length field in a file written by WritePng.
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
    const Bytes file = WritePng(PatternPicture(40, 30, kRgba, 8));
    for (size_t length = 0; length < file.size() - 12; length += 7) {
        CfImagePNG image;
        const Bytes cut(file.begin(), file.begin() + static_cast<long>(length));
        EXPECT_FALSE(DecodeBytes(image, cut)) << length;
        EXPECT_STRNE(image.GetLastError(), "") << length;
    }
}

TEST(PngBadFiles, DamagedImageDataFails) {
    Bytes file = WritePng(PatternPicture(40, 30, kRgb, 8));
    const size_t idat = FirstIdat(file);
    ASSERT_NE(idat, 0u);
    file[idat + 10] ^= 0x55; // inside the compressed data: the chunk's CRC no longer matches
    CfImagePNG image;
    EXPECT_FALSE(DecodeBytes(image, file));
    EXPECT_NE(std::string(image.GetLastError()).find("CfImagePNG: "), std::string::npos);
}

TEST(PngBadFiles, HugeClaimedSizeIsRefusedBeforeAnyLargeAllocation) {
    // 60000 x 60000 RGBA: 14 GB of pixels for a file of a few hundred bytes.
    Bytes file = WritePng(PatternPicture(1, 1, kRgba, 8));
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
