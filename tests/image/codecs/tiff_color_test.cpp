// Colour TIFFs: the RGB family through the RGBA reader, and CIELab through the strip path.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tests/image/ImageTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Tiff.h"
#include <gtest/gtest.h>

namespace {

using namespace imagetest;
using namespace support;

void ExpectNear(const RGBQUAD &actual, int r, int g, int b, int tolerance,
                const std::string &where) {
    EXPECT_LE(std::abs(actual.rgbRed - r), tolerance) << where << " red " << int(actual.rgbRed);
    EXPECT_LE(std::abs(actual.rgbGreen - g), tolerance)
        << where << " green " << int(actual.rgbGreen);
    EXPECT_LE(std::abs(actual.rgbBlue - b), tolerance) << where << " blue " << int(actual.rgbBlue);
}

TiffPage ColourPage(uint32_t width, uint32_t height, uint16_t samples) {
    TiffPage page;
    page.width = width;
    page.height = height;
    page.samplesPerPixel = samples;
    page.photometric = PHOTOMETRIC_RGB;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            for (uint32_t s = 0; s < samples; ++s) {
                page.data.push_back(static_cast<uint8_t>((x * 40 + y * 25 + s * 90) % 256));
            }
        }
    }
    return page;
}

TEST(TiffRgb, EightBitRgbIsExact) {
    TempDir dir;
    TiffPage page = ColourPage(7, 5, 3);
    page.rowsPerStrip = 2;
    page.compression = COMPRESSION_LZW;
    const std::string path = dir / "rgb";
    WriteTiff(path, {page});
    CfImage image;
    ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
    EXPECT_EQ(image.GetBitsPerPixel(), 24);
    EXPECT_FALSE(image.HasAlphaChannel());
    for (uint32_t y = 0; y < 5; ++y) {
        for (uint32_t x = 0; x < 7; ++x) {
            const uint8_t *p = &page.data[(y * 7 + x) * 3];
            ExpectNear(PixelFromTop(image, x, y), p[0], p[1], p[2], 0,
                       std::to_string(x) + "," + std::to_string(y));
        }
    }
}

// libtiff's RGBA reader premultiplies; the bitmap keeps straight colours beside its alpha.
TEST(TiffRgb, RgbaKeepsStraightColoursAndAlpha) {
    TempDir dir;
    for (uint16_t extra : {EXTRASAMPLE_UNASSALPHA, EXTRASAMPLE_ASSOCALPHA}) {
        TiffPage page = ColourPage(6, 4, 4);
        page.extraSamples = {extra};
        std::vector<uint8_t> straight = page.data;
        for (size_t i = 3; i < page.data.size(); i += 4) {
            const uint8_t a = static_cast<uint8_t>(128 + (i / 4) * 5);
            straight[i] = page.data[i] = a;
            if (extra == EXTRASAMPLE_ASSOCALPHA) {
                for (size_t c = i - 3; c < i; ++c) {
                    page.data[c] = static_cast<uint8_t>((straight[c] * a + 127) / 255);
                }
            }
        }
        const std::string path = dir / std::to_string(extra);
        WriteTiff(path, {page});
        CfImage image;
        ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
        ASSERT_TRUE(image.HasAlphaChannel());
        for (uint32_t y = 0; y < 4; ++y) {
            for (uint32_t x = 0; x < 6; ++x) {
                const uint8_t *p = &straight[(y * 6 + x) * 4];
                ExpectNear(PixelFromTop(image, x, y), p[0], p[1], p[2], 1,
                           std::to_string(extra) + ":" + std::to_string(x) + "," +
                               std::to_string(y));
                EXPECT_EQ(AlphaFromTop(image, x, y), p[3]);
            }
        }
    }
}

TEST(TiffCmyk, InksBecomeRgbByTheirComplements) {
    TempDir dir;
    TiffPage page;
    page.width = 5;
    page.height = 2;
    page.samplesPerPixel = 4;
    page.photometric = PHOTOMETRIC_SEPARATED;
    for (uint32_t i = 0; i < 10; ++i) {
        page.data.insert(page.data.end(),
                         {uint8_t(i * 25), uint8_t(255 - i * 20), uint8_t(i * 11), uint8_t(i * 9)});
    }
    const std::string path = dir / "cmyk";
    WriteTiff(path, {page});
    CfImage image;
    ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
    EXPECT_EQ(image.GetBitsPerPixel(), 24);
    for (uint32_t i = 0; i < 10; ++i) {
        const uint8_t *p = &page.data[i * 4];
        const auto ink = [&](int c) { return (255 - c) * (255 - p[3]) / 255; };
        ExpectNear(PixelFromTop(image, i % 5, i / 5), ink(p[0]), ink(p[1]), ink(p[2]), 1,
                   std::to_string(i));
    }
}

TEST(TiffYCbCr, JpegCompressedColourStaysCloseToTheSource) {
    TempDir dir;
    TiffPage page;
    page.width = 32;
    page.height = 24;
    page.samplesPerPixel = 3;
    page.photometric = PHOTOMETRIC_YCBCR;
    page.compression = COMPRESSION_JPEG;
    page.jpegQuality = 95;
    page.rowsPerStrip = 16;
    for (uint32_t y = 0; y < 24; ++y) {
        for (uint32_t x = 0; x < 32; ++x) {
            page.data.insert(page.data.end(),
                             {uint8_t(60 + x * 4), uint8_t(200 - y * 5), uint8_t(100 + x + y)});
        }
    }
    const std::string path = dir / "ycbcr";
    WriteTiff(path, {page});
    CfImage image;
    ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
    ASSERT_EQ(image.GetWidth(), 32u);
    for (uint32_t y = 0; y < 24; y += 3) {
        for (uint32_t x = 0; x < 32; x += 3) {
            ExpectNear(PixelFromTop(image, x, y), 60 + x * 4, 200 - y * 5, 100 + x + y, 8,
                       std::to_string(x) + "," + std::to_string(y));
        }
    }
}

// CIE L*a*b* (D65 white) to sRGB by the textbook formulas, rounded.
void ReferenceLab(double l, double a, double b, int rgb[3]) {
    const double fy = (l + 16) / 116;
    const double fx = fy + a / 500;
    const double fz = fy - b / 200;
    const auto inverse = [](double f) {
        return f * f * f > 216.0 / 24389 ? f * f * f : (116 * f - 16) * 27 / 24389;
    };
    const double x = 0.95047 * inverse(fx);
    const double y = inverse(fy);
    const double z = 1.08883 * inverse(fz);
    const double linear[3] = {3.2404542 * x - 1.5371385 * y - 0.4985314 * z,
                              -0.9692660 * x + 1.8760108 * y + 0.0415560 * z,
                              0.0556434 * x - 0.2040259 * y + 1.0572252 * z};
    for (int i = 0; i < 3; ++i) {
        const double v = linear[i] <= 0.0031308 ? 12.92 * linear[i]
                                                : 1.055 * std::pow(linear[i], 1 / 2.4) - 0.055;
        rgb[i] = static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
    }
}

TEST(TiffLab, CieLabBecomesSrgb) {
    TempDir dir;
    struct Sample {
        uint8_t l;
        int8_t a, b;
    };
    const Sample samples[] = {{255, 0, 0},    {128, 0, 0},     {140, 60, 40}, {200, -50, 30},
                              {100, 20, -60}, {180, -20, -20}, {230, 5, 70},  {60, 10, 10}};
    for (uint16_t spp : {3, 4}) {
        TiffPage page;
        page.width = 4;
        page.height = 2;
        page.samplesPerPixel = spp;
        page.photometric = PHOTOMETRIC_CIELAB;
        if (spp == 4) {
            page.extraSamples = {EXTRASAMPLE_UNASSALPHA};
        }
        for (uint32_t i = 0; i < 8; ++i) {
            page.data.insert(page.data.end(),
                             {samples[i].l, uint8_t(samples[i].a), uint8_t(samples[i].b)});
            if (spp == 4) {
                page.data.push_back(uint8_t(i * 30));
            }
        }
        const std::string path = dir / std::to_string(spp);
        WriteTiff(path, {page});
        CfImage image;
        ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
        EXPECT_EQ(image.GetBitsPerPixel(), 24);
        EXPECT_EQ(image.HasAlphaChannel(), spp == 4);
        for (uint32_t i = 0; i < 8; ++i) {
            int rgb[3];
            ReferenceLab(samples[i].l * 100.0 / 255, samples[i].a, samples[i].b, rgb);
            ExpectNear(PixelFromTop(image, i % 4, i / 4), rgb[0], rgb[1], rgb[2], 2,
                       std::to_string(spp) + "/" + std::to_string(i));
            if (spp == 4) {
                EXPECT_EQ(AlphaFromTop(image, i % 4, i / 4), i * 30);
            }
        }
    }
}

// 16-bit L runs 0..65535 and a, b are signed 16-bit: their high bytes are the 8-bit values.
TEST(TiffLab, SixteenBitSamplesMatchTheirEightBitValues) {
    TempDir dir;
    struct Sample {
        uint8_t l;
        int8_t a, b;
    };
    // The second row holds only small positive samples: it must not be scaled up on its own.
    const Sample samples[] = {{250, 3, -4},  {128, 0, 0},   {140, 60, 40},
                              {100, 20, 60}, {120, 10, 10}, {110, 30, 50}};
    TiffPage page;
    page.width = 3;
    page.height = 2;
    page.samplesPerPixel = 3;
    page.bitsPerSample = 16;
    page.rowsPerStrip = 1;
    page.photometric = PHOTOMETRIC_CIELAB;
    for (const Sample &s : samples) {
        const uint16_t words[3] = {static_cast<uint16_t>(s.l * 257),
                                   static_cast<uint16_t>(s.a * 256 + 0x7F),
                                   static_cast<uint16_t>(s.b * 256 + 0x31)};
        const auto *bytes = reinterpret_cast<const uint8_t *>(words);
        page.data.insert(page.data.end(), bytes, bytes + 6);
    }
    const std::string path = dir / "lab16";
    WriteTiff(path, {page});
    CfImage image;
    ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
    for (uint32_t i = 0; i < 6; ++i) {
        int rgb[3];
        ReferenceLab(samples[i].l * 100.0 / 255, samples[i].a, samples[i].b, rgb);
        ExpectNear(PixelFromTop(image, i % 3, i / 3), rgb[0], rgb[1], rgb[2], 2, std::to_string(i));
    }
}

} // namespace
