// Palette TIFFs: 8-bit and 16-bit colour maps, 1/4/8-bit indices and palettes deeper than 8 bits.
#include <cstring>

#include "tests/image/ImageTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Tiff.h"
#include <gtest/gtest.h>

namespace {

using namespace imagetest;
using namespace support;

struct Colour {
    uint8_t r, g, b;
};

void ExpectColour(const RGBQUAD &actual, Colour expected, const std::string &where) {
    EXPECT_EQ(actual.rgbRed, expected.r) << where;
    EXPECT_EQ(actual.rgbGreen, expected.g) << where;
    EXPECT_EQ(actual.rgbBlue, expected.b) << where;
}

// A colour map of 2^bits entries whose values come from `value(i, channel)`.
template <class F> std::vector<uint16_t> ColorMap(uint32_t bits, F value) {
    const uint32_t n = 1u << bits;
    std::vector<uint16_t> map(3 * n);
    for (uint32_t c = 0; c < 3; ++c) {
        for (uint32_t i = 0; i < n; ++i) {
            map[c * n + i] = value(i, c);
        }
    }
    return map;
}

TiffPage PalettePage(uint16_t bits, std::vector<uint16_t> map, std::vector<uint8_t> data,
                     uint32_t width, uint32_t height) {
    TiffPage page;
    page.width = width;
    page.height = height;
    page.bitsPerSample = bits;
    page.photometric = PHOTOMETRIC_PALETTE;
    page.colorMap = std::move(map);
    page.data = std::move(data);
    return page;
}

TEST(TiffPalette, EightBitMapValuesAreTakenUnscaled) {
    TempDir dir;
    // Every value below 256: a writer that stored 8-bit colours.
    auto map = ColorMap(8, [](uint32_t i, uint32_t c) { return uint16_t((i * (c + 3)) % 256); });
    std::vector<uint8_t> data = {0, 7, 255, 128, 64, 33};
    const std::string path = dir / "map8";
    WriteTiff(path, {PalettePage(8, map, data, 3, 2)});
    CfImage image;
    ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
    EXPECT_EQ(image.GetBitsPerPixel(), 8);
    for (uint32_t i = 0; i < data.size(); ++i) {
        const uint32_t v = data[i];
        ExpectColour(PixelFromTop(image, i % 3, i / 3),
                     {uint8_t(v * 3 % 256), uint8_t(v * 4 % 256), uint8_t(v * 5 % 256)},
                     std::to_string(i));
    }
}

TEST(TiffPalette, SixteenBitMapValuesAreScaledTo255) {
    TempDir dir;
    auto map = ColorMap(8, [](uint32_t i, uint32_t c) { return uint16_t(i * 257 - c * i); });
    std::vector<uint8_t> data = {0, 1, 2, 100, 200, 255};
    const std::string path = dir / "map16";
    WriteTiff(path, {PalettePage(8, map, data, 6, 1)});
    CfImage image;
    ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
    for (uint32_t x = 0; x < data.size(); ++x) {
        const uint32_t i = data[x];
        const auto scale = [](uint32_t v) { return uint8_t(v * 255 / 65535); };
        ExpectColour(PixelFromTop(image, x, 0),
                     {scale(i * 257), scale(i * 257 - i), scale(i * 257 - 2 * i)},
                     std::to_string(x));
    }
}

TEST(TiffPalette, OneAndFourBitIndicesKeepTheirDepth) {
    TempDir dir;
    struct Case {
        uint16_t bits;
        std::vector<uint8_t> data; // width 4, height 2
        std::vector<uint8_t> indices;
    };
    const Case cases[] = {
        {1, {0xA0, 0x50}, {1, 0, 1, 0, 0, 1, 0, 1}},
        {4, {0x01, 0x2F, 0xED, 0x39}, {0, 1, 2, 15, 14, 13, 3, 9}},
    };
    for (const Case &c : cases) {
        auto map = ColorMap(c.bits, [](uint32_t i, uint32_t ch) {
            return uint16_t(((i * 40 + ch * 70) % 256) * 257);
        });
        const std::string path = dir / std::to_string(c.bits);
        WriteTiff(path, {PalettePage(c.bits, map, c.data, 4, 2)});
        CfImage image;
        ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
        EXPECT_EQ(image.GetBitsPerPixel(), c.bits);
        for (uint32_t i = 0; i < 8; ++i) {
            const uint32_t v = c.indices[i];
            ExpectColour(PixelFromTop(image, i % 4, i / 4),
                         {uint8_t((v * 40) % 256), uint8_t((v * 40 + 70) % 256),
                          uint8_t((v * 40 + 140) % 256)},
                         std::to_string(c.bits) + "/" + std::to_string(i));
        }
    }
}

// Palettes deeper than 8 bits become 24-bit pixels; the map is always read as 16-bit.
TEST(TiffDeepPalette, TwelveAndSixteenBitIndicesLookUpTheirEntries) {
    TempDir dir;
    const auto red = [](uint32_t i) { return uint16_t(i * 13); };
    const auto green = [](uint32_t i) { return uint16_t(65535 - i * 7); };
    const auto blue = [](uint32_t i) { return uint16_t((i * 977) & 0xFFFF); };
    for (uint16_t bits : {12, 16}) {
        auto map = ColorMap(bits, [&](uint32_t i, uint32_t c) {
            return c == 0 ? red(i) : c == 1 ? green(i) : blue(i);
        });
        const std::vector<uint32_t> indices = {0, 1, 4095, 2048, 77, 3000};
        std::vector<uint8_t> data;
        if (bits == 12) {
            // Rows of three 12-bit indices, most significant bit first, each row padded to
            // whole bytes (36 bits: 5 bytes).
            for (size_t row = 0; row < 2; ++row) {
                const uint32_t *v = &indices[row * 3];
                data.insert(data.end(),
                            {uint8_t(v[0] >> 4), uint8_t((v[0] & 0xF) << 4 | v[1] >> 8),
                             uint8_t(v[1] & 0xFF), uint8_t(v[2] >> 4), uint8_t((v[2] & 0xF) << 4)});
            }
        } else {
            for (uint32_t i : indices) {
                const auto word = static_cast<uint16_t>(i * 15);
                data.resize(data.size() + 2);
                std::memcpy(&data[data.size() - 2], &word, 2);
            }
        }
        const std::string path = dir / std::to_string(bits);
        WriteTiff(path, {PalettePage(bits, map, data, 3, 2)}, bits == 16 ? "wb" : "w");
        CfImage image;
        ASSERT_TRUE(LoadFile(image, path)) << image.GetLastError();
        EXPECT_EQ(image.GetBitsPerPixel(), 24);
        for (uint32_t k = 0; k < indices.size(); ++k) {
            const uint32_t i = bits == 12 ? indices[k] : indices[k] * 15;
            const auto scale = [](uint32_t v) { return uint8_t(v * 255 / 65535); };
            ExpectColour(PixelFromTop(image, k % 3, k / 3),
                         {scale(red(i)), scale(green(i)), scale(blue(i))},
                         std::to_string(bits) + "/" + std::to_string(k));
        }
    }
}

} // namespace
