// Every colour path of the TIFF decoder comes out upright by the Orientation tag: each page is
// decoded once as stored (orientation 1) and once with each other orientation, and every stored
// pixel must appear where that orientation shows it.
#include <string>

#include "tests/image/ImageTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Tiff.h"
#include <gtest/gtest.h>

namespace {

using namespace imagetest;
using namespace support;

// Stored pixel (row r, column c) of a W x H image appears at this (row, column) when shown.
std::pair<uint32_t, uint32_t> Shown(uint16_t orientation, uint32_t r, uint32_t c, uint32_t w,
                                    uint32_t h) {
    switch (orientation) {
    case 2:
        return {r, w - 1 - c};
    case 3:
        return {h - 1 - r, w - 1 - c};
    case 4:
        return {h - 1 - r, c};
    case 5:
        return {c, r};
    case 6:
        return {c, h - 1 - r};
    case 7:
        return {w - 1 - c, h - 1 - r};
    case 8:
        return {w - 1 - c, r};
    default:
        return {r, c};
    }
}

struct ColourPath {
    const char *name;
    uint16_t samplesPerPixel;
    uint16_t bitsPerSample;
    uint16_t photometric;
    uint16_t compression = COMPRESSION_NONE;
    bool tiled = false;
    bool alpha = false; // an extra alpha sample
};

constexpr uint32_t kWidth = 5;
constexpr uint32_t kHeight = 3;

// A 5 x 3 page whose bytes differ from pixel to pixel and sample to sample.
TiffPage PatternPage(const ColourPath &path, uint16_t orientation) {
    TiffPage page;
    page.width = kWidth;
    page.height = kHeight;
    page.samplesPerPixel = path.samplesPerPixel;
    page.bitsPerSample = path.bitsPerSample;
    page.photometric = path.photometric;
    page.compression = path.compression;
    page.orientation = orientation;
    if (path.alpha) {
        page.extraSamples = {EXTRASAMPLE_UNASSALPHA};
    }
    if (path.tiled) {
        // libtiff 4.5's RGBA reader fails on uncompressed tiles whose byte count is not a
        // multiple of 1024 when the file is read without mapping, as ours is: 32 x 32 tiles
        // of three bytes a pixel are.
        page.tileWidth = 32;
        page.tileLength = 32;
    }
    if (path.photometric == PHOTOMETRIC_PALETTE) {
        for (uint32_t channel = 0; channel < 3; ++channel) {
            for (uint32_t i = 0; i < (1u << path.bitsPerSample); ++i) {
                page.colorMap.push_back(static_cast<uint16_t>((i * 97 + channel * 5003) * 257));
            }
        }
    }
    page.data.resize(page.RowBytes() * kHeight);
    for (size_t k = 0; k < page.data.size(); ++k) {
        page.data[k] = static_cast<uint8_t>(k * 37 + 13 + (k * k) % 7);
    }
    return page;
}

class TiffOrientationPaths : public testing::TestWithParam<ColourPath> {};

TEST_P(TiffOrientationPaths, EveryOrientationComesOutUpright) {
    TempDir dir;
    const ColourPath path = GetParam();
    const std::string storedPath = dir / (std::string(path.name) + "_1");
    WriteTiff(storedPath, {PatternPage(path, 1)});
    CfImage stored;
    ASSERT_TRUE(LoadFile(stored, storedPath)) << stored.GetLastError();
    ASSERT_EQ(stored.GetWidth(), kWidth);
    ASSERT_EQ(stored.GetHeight(), kHeight);
    if (path.alpha) {
        EXPECT_TRUE(stored.HasAlphaChannel());
    }

    for (uint16_t orientation = 2; orientation <= 8; ++orientation) {
        SCOPED_TRACE("orientation " + std::to_string(orientation));
        const std::string file = dir / (path.name + std::to_string(orientation));
        WriteTiff(file, {PatternPage(path, orientation)});
        CfImage shown;
        ASSERT_TRUE(LoadFile(shown, file)) << shown.GetLastError();
        const bool turned = orientation >= 5;
        ASSERT_EQ(shown.GetWidth(), turned ? kHeight : kWidth);
        ASSERT_EQ(shown.GetHeight(), turned ? kWidth : kHeight);
        for (uint32_t r = 0; r < kHeight; ++r) {
            for (uint32_t c = 0; c < kWidth; ++c) {
                const auto [row, col] = Shown(orientation, r, c, kWidth, kHeight);
                EXPECT_EQ(PixelFromTop(shown, col, row), PixelFromTop(stored, c, r))
                    << "stored row " << r << ", column " << c;
                ASSERT_EQ(shown.HasAlphaChannel(), stored.HasAlphaChannel());
                if (stored.HasAlphaChannel()) {
                    EXPECT_EQ(AlphaFromTop(shown, col, row), AlphaFromTop(stored, c, r));
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    ColourPaths, TiffOrientationPaths,
    testing::Values(ColourPath{"bilevel", 1, 1, PHOTOMETRIC_MINISBLACK},
                    ColourPath{"grey8", 1, 8, PHOTOMETRIC_MINISBLACK},
                    ColourPath{"grey16", 1, 16, PHOTOMETRIC_MINISBLACK},
                    ColourPath{"greyalpha", 2, 8, PHOTOMETRIC_MINISBLACK, COMPRESSION_NONE, false,
                               true},
                    ColourPath{"palette4", 1, 4, PHOTOMETRIC_PALETTE},
                    ColourPath{"palette8", 1, 8, PHOTOMETRIC_PALETTE},
                    ColourPath{"rgb8", 3, 8, PHOTOMETRIC_RGB},
                    ColourPath{"rgb16", 3, 16, PHOTOMETRIC_RGB},
                    ColourPath{"rgb8tiled", 3, 8, PHOTOMETRIC_RGB, COMPRESSION_NONE, true},
                    ColourPath{"rgba8", 4, 8, PHOTOMETRIC_RGB, COMPRESSION_NONE, false, true},
                    ColourPath{"cmyk8", 4, 8, PHOTOMETRIC_SEPARATED},
                    ColourPath{"ycbcrjpeg", 3, 8, PHOTOMETRIC_YCBCR, COMPRESSION_JPEG},
                    ColourPath{"greytiled", 1, 8, PHOTOMETRIC_MINISBLACK, COMPRESSION_NONE, true}),
    [](const testing::TestParamInfo<ColourPath> &param) { return std::string(param.param.name); });

} // namespace
