// The pictures handed to text recognition: every kind of decoded sample turned into what the
// recogniser reads (grey with 0 black, or bilevel with 1 black).
#include "pdfw/raster/RecognitionPixels.h"

#include <algorithm>

#include <cstring>

#include <gtest/gtest.h>

#include "pdfw/raster/GreyCanvas.h"

namespace {

folvane::pdfw::RasterImage raster(std::uint32_t width, std::uint32_t height, int components,
                                  int bits, std::vector<unsigned char> samples) {
    folvane::pdfw::RasterImage image;
    image.width = width;
    image.height = height;
    image.components = components;
    image.bitsPerComponent = bits;
    image.pixels = folvane::pdfw::Buffer({}, samples.size(), "test");
    std::memcpy(image.pixels.data(), samples.data(), samples.size());
    return image;
}

std::vector<unsigned char> rowsOf(const folvane::pdfw::PagePixels &pixels) {
    const auto &image = pixels.image;
    std::vector<unsigned char> rows;
    for (int y = 0; y < image.height; ++y) {
        const unsigned char *row = image.rows + y * image.rowBytes;
        rows.insert(rows.end(), row,
                    row + (image.depth == 1 ? (image.width + 7) / 8 : image.width));
    }
    return rows;
}

TEST(RecognitionPixels, GreyRgbAndCmykBecomeGreyWithBlackAtZero) {
    auto grey =
        folvane::pdfw::rasterForRecognition(raster(2, 1, 1, 8, {0, 200}), nullptr, 6, 300, {});
    EXPECT_EQ(grey.image.depth, 8);
    EXPECT_EQ(grey.image.orientation, 6);
    EXPECT_EQ(grey.image.dpi, 300);
    EXPECT_EQ(rowsOf(grey), (std::vector<unsigned char>{0, 200}));

    auto rgb = folvane::pdfw::rasterForRecognition(raster(2, 1, 3, 8, {255, 255, 255, 255, 0, 0}),
                                                   nullptr, 1, 0, {});
    EXPECT_EQ(rowsOf(rgb), (std::vector<unsigned char>{255, 76}));

    // No ink is white; full black ink is black.
    auto cmyk = folvane::pdfw::rasterForRecognition(raster(2, 1, 4, 8, {0, 0, 0, 0, 0, 0, 0, 255}),
                                                    nullptr, 1, 0, {});
    EXPECT_EQ(rowsOf(cmyk), (std::vector<unsigned char>{255, 0}));

    // 16-bit samples are read by their high byte; 2-bit ones are scaled to the full range.
    auto deep =
        folvane::pdfw::rasterForRecognition(raster(1, 1, 1, 16, {0x80, 0x01}), nullptr, 1, 0, {});
    EXPECT_EQ(rowsOf(deep), (std::vector<unsigned char>{0x80}));
    auto shallow =
        folvane::pdfw::rasterForRecognition(raster(4, 1, 1, 2, {0x1B}), nullptr, 1, 0, {});
    EXPECT_EQ(rowsOf(shallow), (std::vector<unsigned char>{0, 85, 170, 255}));
}

TEST(RecognitionPixels, BilevelStaysBilevelWithOneForBlack) {
    // A plain 1-bit grey sample of 1 is white: the bits are flipped.
    auto plain =
        folvane::pdfw::rasterForRecognition(raster(8, 1, 1, 1, {0xF0}), nullptr, 1, 300, {});
    EXPECT_EQ(plain.image.depth, 1);
    EXPECT_EQ(rowsOf(plain), (std::vector<unsigned char>{0x0F}));
    // Min-is-white (inverted) data already has 1 for black.
    auto scan = raster(8, 1, 1, 1, {0xF0});
    scan.inverted = true;
    EXPECT_EQ(rowsOf(folvane::pdfw::rasterForRecognition(scan, nullptr, 1, 300, {})),
              (std::vector<unsigned char>{0xF0}));
}

TEST(RecognitionPixels, PaletteEntriesAndTransparencyShowAsOnThePage) {
    std::vector<unsigned char> greys = {0, 255};
    auto indexed =
        folvane::pdfw::rasterForRecognition(raster(3, 1, 1, 8, {1, 0, 7}), &greys, 1, 0, {});
    // An index past the palette shows as white rather than reading past it.
    EXPECT_EQ(rowsOf(indexed), (std::vector<unsigned char>{255, 0, 255}));

    // Black text on a transparent background: what is transparent is the white page.
    auto text = raster(3, 1, 1, 8, {0, 0, 0});
    text.alpha = folvane::pdfw::Buffer({}, 3, "test");
    const unsigned char alpha[] = {0, 255, 128};
    std::memcpy(text.alpha.data(), alpha, 3);
    EXPECT_EQ(rowsOf(folvane::pdfw::rasterForRecognition(text, nullptr, 1, 0, {})),
              (std::vector<unsigned char>{255, 0, 127}));
}

TEST(RecognitionPixels, ShortPixelsAreRefused) {
    EXPECT_ANY_THROW(
        folvane::pdfw::rasterForRecognition(raster(4, 4, 1, 8, {1, 2, 3}), nullptr, 1, 0, {}));
    EXPECT_ANY_THROW(
        folvane::pdfw::rasterForRecognition(raster(16, 2, 1, 1, {1, 2}), nullptr, 1, 0, {}));
    auto noAlpha = raster(2, 1, 1, 8, {0, 0});
    noAlpha.alpha = folvane::pdfw::Buffer({}, 1, "test");
    EXPECT_ANY_THROW(folvane::pdfw::rasterForRecognition(noAlpha, nullptr, 1, 0, {}));
}

// A page too large to hold is put together band by band; above kRecognitionPixels it is
// reduced by a whole factor, each pixel the rounded average of its square (cut at the edges).
TEST(GreyCanvas, LargePagesAreAveragedDownBandByBand) {
    const std::uint32_t width = 8201, height = 4701; // 38.6 Mpx: halved
    auto grey = [](std::uint32_t x, std::uint32_t y) {
        return static_cast<unsigned char>((x * 3 + y * 5) & 255);
    };
    folvane::pdfw::GreyCanvas canvas(width, height, 600, {});
    for (std::uint32_t first = 0; first < height; first += 97) {
        std::uint32_t rows = std::min<std::uint32_t>(97, height - first);
        std::vector<unsigned char> samples(std::size_t{width} * rows);
        for (std::uint32_t y = 0; y < rows; ++y) {
            for (std::uint32_t x = 0; x < width; ++x) {
                samples[std::size_t{y} * width + x] = grey(x, first + y);
            }
        }
        canvas.add(raster(width, rows, 1, 8, samples), nullptr);
    }
    folvane::pdfw::PagePixels out = canvas.finish(3);
    EXPECT_EQ(out.reduction, 2);
    EXPECT_EQ(out.image.width, 4101);
    EXPECT_EQ(out.image.height, 2351);
    EXPECT_EQ(out.image.dpi, 300);
    EXPECT_EQ(out.image.orientation, 3);
    int wrong = 0;
    for (std::uint32_t y = 0; y < 2351; ++y) {
        for (std::uint32_t x = 0; x < 4101; ++x) {
            unsigned sum = 0, count = 0;
            for (std::uint32_t dy = 0; dy < 2 && 2 * y + dy < height; ++dy) {
                for (std::uint32_t dx = 0; dx < 2 && 2 * x + dx < width; ++dx) {
                    sum += grey(2 * x + dx, 2 * y + dy);
                    ++count;
                }
            }
            wrong += out.image.rows[std::size_t{y} * out.image.rowBytes + x] !=
                     (sum + count / 2) / count;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(GreyCanvas, BilevelBandsBecomeGrey) {
    // 1 is black where the picture is min-is-white (inverted), white otherwise.
    for (bool inverted : {false, true}) {
        folvane::pdfw::GreyCanvas canvas(8, 2, 300, {});
        folvane::pdfw::RasterImage band = raster(8, 2, 1, 1, {0xF0, 0x0F});
        band.inverted = inverted;
        canvas.add(band, nullptr);
        folvane::pdfw::PagePixels out = canvas.finish(1);
        unsigned char black = inverted ? 255 : 0, white = inverted ? 0 : 255;
        std::vector<unsigned char> expected;
        for (int i = 0; i < 16; ++i) {
            bool set = (i < 8) == (i % 8 < 4);
            expected.push_back(set ? white : black);
        }
        EXPECT_EQ(rowsOf(out), expected) << inverted;
        EXPECT_EQ(out.reduction, 1);
    }
}

} // namespace
