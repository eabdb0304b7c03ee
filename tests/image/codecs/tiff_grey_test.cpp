// Bilevel, grey and grey-with-alpha TIFFs through the strip path.
#include <cstring>

#include "tests/image/ImageTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Tiff.h"
#include <gtest/gtest.h>

namespace {

using namespace imagetest;
using namespace support;

uint8_t Grey(const RGBQUAD &c) {
    EXPECT_EQ(c.rgbRed, c.rgbGreen);
    EXPECT_EQ(c.rgbGreen, c.rgbBlue);
    return c.rgbRed;
}

// Packs one sample of `bits` bits per pixel, most significant bit first.
std::vector<uint8_t> PackRows(const std::vector<std::vector<uint32_t>> &rows, uint32_t bits) {
    std::vector<uint8_t> out;
    for (const auto &row : rows) {
        std::vector<uint8_t> bytes((row.size() * bits + 7) / 8, 0);
        for (size_t x = 0; x < row.size(); ++x) {
            for (uint32_t b = 0; b < bits; ++b) {
                if (row[x] >> (bits - 1 - b) & 1) {
                    const size_t bit = x * bits + b;
                    bytes[bit / 8] |= static_cast<uint8_t>(0x80 >> (bit % 8));
                }
            }
        }
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

std::vector<std::vector<uint32_t>> Ramp(uint32_t width, uint32_t height, uint32_t bits) {
    std::vector<std::vector<uint32_t>> rows(height, std::vector<uint32_t>(width));
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            rows[y][x] = (x * 7 + y * 3) % (1u << bits);
        }
    }
    return rows;
}

TEST(TiffBilevel, MinIsBlackAndMinIsWhiteShowOneBitsOppositely) {
    TempDir dir;
    const auto rows = Ramp(13, 3, 1);
    for (uint16_t photometric : {PHOTOMETRIC_MINISBLACK, PHOTOMETRIC_MINISWHITE}) {
        TiffPage page;
        page.width = 13;
        page.height = 3;
        page.bitsPerSample = 1;
        page.photometric = photometric;
        page.data = PackRows(rows, 1);
        const std::string path = dir / std::to_string(photometric);
        WriteTiff(path, {page});
        CfImage image;
        ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
        EXPECT_EQ(image.GetBitsPerPixel(), 1);
        EXPECT_EQ(image.GetFormatType(), FormatTiff);
        for (uint32_t y = 0; y < 3; ++y) {
            for (uint32_t x = 0; x < 13; ++x) {
                const bool white = (rows[y][x] == 1) == (photometric == PHOTOMETRIC_MINISBLACK);
                EXPECT_EQ(Grey(PixelFromTop(image, x, y)), white ? 255 : 0) << x << "," << y;
            }
        }
    }
}

struct GreyCase {
    uint16_t bits;
    uint16_t photometric;
    uint16_t expectedDepth;
};

class TiffGreyDepth : public testing::TestWithParam<GreyCase> {};

TEST_P(TiffGreyDepth, SamplesSpreadOverTheFullRange) {
    TempDir dir;
    const GreyCase c = GetParam();
    const auto rows = Ramp(11, 5, c.bits);
    TiffPage page;
    page.width = 11;
    page.height = 5;
    page.bitsPerSample = c.bits;
    page.photometric = c.photometric;
    page.rowsPerStrip = 2;
    page.data = PackRows(rows, c.bits);
    const std::string path = dir / "grey";
    WriteTiff(path, {page});
    CfImage image;
    ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
    EXPECT_EQ(image.GetBitsPerPixel(), c.expectedDepth);
    const uint32_t maximum = (1u << c.bits) - 1;
    for (uint32_t y = 0; y < 5; ++y) {
        for (uint32_t x = 0; x < 11; ++x) {
            uint32_t level = rows[y][x] * 255 / maximum;
            if (c.photometric == PHOTOMETRIC_MINISWHITE) {
                level = 255 - level;
            }
            EXPECT_EQ(Grey(PixelFromTop(image, x, y)), level) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, TiffGreyDepth,
                         testing::Values(GreyCase{2, PHOTOMETRIC_MINISBLACK, 8},
                                         GreyCase{2, PHOTOMETRIC_MINISWHITE, 8},
                                         GreyCase{4, PHOTOMETRIC_MINISBLACK, 4},
                                         GreyCase{4, PHOTOMETRIC_MINISWHITE, 4},
                                         GreyCase{8, PHOTOMETRIC_MINISBLACK, 8},
                                         GreyCase{8, PHOTOMETRIC_MINISWHITE, 8}));

std::vector<uint8_t> HostWords(const std::vector<uint16_t> &words) {
    std::vector<uint8_t> bytes(words.size() * 2);
    std::memcpy(bytes.data(), words.data(), bytes.size());
    return bytes;
}

// Every row is scaled by the power of two that brings the image's largest sample to the top
// of the byte, whichever strip holds it and whatever the file's byte order.
TEST(TiffGrey16, ScaledSoThatTheLargestSampleBecomes255) {
    TempDir dir;
    const uint32_t width = 6;
    const uint32_t height = 4;
    std::vector<uint16_t> words(width * height);
    for (uint32_t i = 0; i < words.size(); ++i) {
        words[i] = static_cast<uint16_t>(i * 37 % 0x100); // small rows: high byte 0
    }
    words[2 * width + 3] = 0x0FFF;
    words[3 * width + 1] = 0x0800;
    for (const char *mode : {"w", "wb"}) {
        TiffPage page;
        page.width = width;
        page.height = height;
        page.bitsPerSample = 16;
        page.rowsPerStrip = 1;
        page.data = HostWords(words);
        const std::string path = dir / mode;
        WriteTiff(path, {page}, mode);
        CfImage image;
        ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
        EXPECT_EQ(image.GetBitsPerPixel(), 8);
        for (uint32_t y = 0; y < height; ++y) {
            for (uint32_t x = 0; x < width; ++x) {
                EXPECT_EQ(Grey(PixelFromTop(image, x, y)), words[y * width + x] / 16)
                    << mode << " " << x << "," << y;
            }
        }
    }
}

TEST(TiffGrey16, FullRangeSamplesKeepTheirHighByte) {
    TempDir dir;
    std::vector<uint16_t> words = {0x0000, 0x1234, 0x8000, 0xFFFF, 0x00FF, 0x7F00};
    TiffPage page;
    page.width = 3;
    page.height = 2;
    page.bitsPerSample = 16;
    page.data = HostWords(words);
    const std::string path = dir / "full";
    WriteTiff(path, {page});
    CfImage image;
    ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
    for (uint32_t i = 0; i < words.size(); ++i) {
        EXPECT_EQ(Grey(PixelFromTop(image, i % 3, i / 3)), words[i] >> 8) << i;
    }
}

class TiffStripSizes : public testing::TestWithParam<uint32_t> {};

TEST_P(TiffStripSizes, EveryStripLayoutGivesTheSamePixels) {
    TempDir dir;
    const auto rows = Ramp(9, 13, 8);
    TiffPage page;
    page.width = 9;
    page.height = 13;
    page.rowsPerStrip = GetParam();
    page.data = PackRows(rows, 8);
    const std::string path = dir / "strips";
    WriteTiff(path, {page});
    CfImage image;
    ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
    ASSERT_EQ(image.GetWidth(), 9u);
    ASSERT_EQ(image.GetHeight(), 13u);
    for (uint32_t y = 0; y < 13; ++y) {
        for (uint32_t x = 0; x < 9; ++x) {
            EXPECT_EQ(Grey(PixelFromTop(image, x, y)), rows[y][x]) << x << "," << y;
        }
    }
}

// 0 leaves the tag out: the whole image is one strip.
INSTANTIATE_TEST_SUITE_P(RowsPerStrip, TiffStripSizes, testing::Values(0u, 1u, 3u, 5u, 12u, 13u));

// A strip whose compressed data is damaged ends the image: the rows above it stay, the rest
// come out black, and the decode succeeds.
TEST(TiffBrokenStrip, RowsBeforeTheBrokenStripSurvive) {
    TempDir dir;
    const auto rows = Ramp(16, 6, 8);
    TiffPage page;
    page.width = 16;
    page.height = 6;
    page.rowsPerStrip = 2;
    page.compression = COMPRESSION_ADOBE_DEFLATE;
    page.data = PackRows(rows, 8);
    for (auto &byte : page.data) {
        byte = static_cast<uint8_t>(byte | 0x80); // no all-black row
    }
    const std::string path = dir / "broken";
    WriteTiff(path, {page});

    TIFF *tif = TIFFOpen(path.c_str(), "r");
    ASSERT_NE(tif, nullptr);
    uint64_t *offsets = nullptr;
    uint64_t *counts = nullptr;
    ASSERT_TRUE(TIFFGetField(tif, TIFFTAG_STRIPOFFSETS, &offsets));
    ASSERT_TRUE(TIFFGetField(tif, TIFFTAG_STRIPBYTECOUNTS, &counts));
    const uint64_t offset = offsets[1];
    const uint64_t count = counts[1];
    TIFFClose(tif);
    std::vector<uint8_t> bytes = ReadFile(path);
    for (uint64_t i = 0; i < count; ++i) {
        bytes[offset + i] = 0xFF;
    }
    WriteFile(path, bytes);

    CfImage image;
    ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
    for (uint32_t y = 0; y < 6; ++y) {
        for (uint32_t x = 0; x < 16; ++x) {
            EXPECT_EQ(Grey(PixelFromTop(image, x, y)), y < 2 ? page.data[y * 16 + x] : 0)
                << x << "," << y;
        }
    }
}

TEST(TiffGreyAlpha, EightBitPairsGiveIndexAndAlpha) {
    TempDir dir;
    TiffPage page;
    page.width = 5;
    page.height = 3;
    page.samplesPerPixel = 2;
    page.extraSamples = {EXTRASAMPLE_UNASSALPHA};
    for (uint32_t i = 0; i < 15; ++i) {
        page.data.push_back(static_cast<uint8_t>(i * 17));
        page.data.push_back(static_cast<uint8_t>(255 - i * 5));
    }
    const std::string path = dir / "ga8";
    WriteTiff(path, {page});
    CfImage image;
    ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
    ASSERT_TRUE(image.HasAlphaChannel());
    for (uint32_t i = 0; i < 15; ++i) {
        EXPECT_EQ(Grey(PixelFromTop(image, i % 5, i / 5)), i * 17) << i;
        EXPECT_EQ(AlphaFromTop(image, i % 5, i / 5), 255 - i * 5) << i;
    }
}

// Grey and alpha share one scale: the high byte of every sample, in every row.
TEST(TiffGreyAlpha, SixteenBitSamplesKeepTheirHighByte) {
    TempDir dir;
    TiffPage page;
    page.width = 4;
    page.height = 3;
    page.samplesPerPixel = 2;
    page.bitsPerSample = 16;
    page.rowsPerStrip = 1;
    page.extraSamples = {EXTRASAMPLE_UNASSALPHA};
    std::vector<uint16_t> words;
    for (uint32_t i = 0; i < 12; ++i) {
        words.push_back(static_cast<uint16_t>(i < 4 ? i * 0x0311 : i * 0x1511));
        words.push_back(static_cast<uint16_t>(0xFFFF - i * 0x0A00));
    }
    page.data = HostWords(words);
    const std::string path = dir / "ga16";
    WriteTiff(path, {page});
    CfImage image;
    ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
    ASSERT_TRUE(image.HasAlphaChannel());
    for (uint32_t i = 0; i < 12; ++i) {
        EXPECT_EQ(Grey(PixelFromTop(image, i % 4, i / 4)), words[2 * i] >> 8) << i;
        EXPECT_EQ(AlphaFromTop(image, i % 4, i / 4), words[2 * i + 1] >> 8) << i;
    }
}

struct PlanarCase {
    uint16_t bits;
    uint32_t tileWidth; // 0: strips
};

class TiffPlanarGreyAlpha : public testing::TestWithParam<PlanarCase> {};

// Grey and alpha stored as two planes come out as the same pixels as interleaved samples.
TEST_P(TiffPlanarGreyAlpha, PlanesAreInterleavedIntoPixels) {
    TempDir dir;
    const PlanarCase c = GetParam();
    const uint32_t width = 19;
    const uint32_t height = 7;
    TiffPage page;
    page.width = width;
    page.height = height;
    page.samplesPerPixel = 2;
    page.bitsPerSample = c.bits;
    page.planar = PLANARCONFIG_SEPARATE;
    page.extraSamples = {EXTRASAMPLE_UNASSALPHA};
    page.rowsPerStrip = 3;
    page.tileWidth = c.tileWidth;
    page.tileLength = c.tileWidth;
    std::vector<uint16_t> words;
    for (uint32_t i = 0; i < width * height; ++i) {
        words.push_back(static_cast<uint16_t>((i * 23 % 256) << 8 | 0x11));
        words.push_back(static_cast<uint16_t>((255 - i % 200) << 8 | 0x22));
    }
    if (c.bits == 16) {
        page.data = HostWords(words);
    } else {
        for (uint16_t w : words) {
            page.data.push_back(static_cast<uint8_t>(w >> 8));
        }
    }
    const std::string path = dir / "planar";
    WriteTiff(path, {page});
    CfImage image;
    ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
    ASSERT_TRUE(image.HasAlphaChannel());
    for (uint32_t i = 0; i < width * height; ++i) {
        EXPECT_EQ(Grey(PixelFromTop(image, i % width, i / width)), words[2 * i] >> 8) << i;
        EXPECT_EQ(AlphaFromTop(image, i % width, i / width), words[2 * i + 1] >> 8) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, TiffPlanarGreyAlpha,
                         testing::Values(PlanarCase{8, 0}, PlanarCase{16, 0}, PlanarCase{8, 16},
                                         PlanarCase{16, 16}));

} // namespace
