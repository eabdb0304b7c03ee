// Peak memory of the reduced decode on files whose full decode is beyond the library's
// ceiling: a 7016 x 9920 16-bit RGB Deflate TIFF (an A3 page at 600 dpi, 417 MB of samples,
// 209 MB even as a 24-bit bitmap) and a 20000 x 20000 grey PNG (400 MB). Both are written a
// row at a time by tests/support, never whole.
//
// Each decode runs in a child process of its own (tests/support/PeakMemory.h), which reports
// how far its peak resident size (getrusage's ru_maxrss) rose during the decode. The bound,
// 64 MiB, holds what the reduced decode keeps (the target's sums at 8 bytes a channel, about
// 17 MB for the scan; one strip of the source; a table entry per source column) plus
// libtiff's or libpng's and zlib's own buffers and the sanitizers' share of them, with room to
// spare; the full-size picture alone would be 200 to 400 MB.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <tiffio.h>

#include "image/ReducedDecode.h"
#include "tests/image/ReducedTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/PeakMemory.h"
#include "tests/support/Png.h"
#include "tests/support/Tiff.h"

namespace {

using namespace reducedtest;
using namespace support;

constexpr long kBoundKiB = 64 * 1024;

// What the child reports about its decode: whether it decoded, and a few reduced pixels.
struct Decoded {
    bool decoded = false;
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t samples[3][3] = {}; // pixels at the top left, centre and bottom right
    char error[256] = {};
};

std::string DecodeReport(const std::string &path, uint32_t width, uint32_t height) {
    Decoded report;
    CfImage image;
    report.decoded = loadReduced(path.c_str(), Fixed(width, height), image);
    std::snprintf(report.error, sizeof report.error, "%s", image.GetLastError());
    if (report.decoded) {
        const Picture picture = ToPicture(image);
        report.width = uint32_t(picture.width);
        report.height = uint32_t(picture.height);
        const int at[3][2] = {{0, 0},
                              {picture.width / 2, picture.height / 2},
                              {picture.width - 1, picture.height - 1}};
        for (int i = 0; i < 3; ++i) {
            for (int c = 0; c < picture.components && c < 3; ++c) {
                report.samples[i][c] = picture.At(at[i][0], at[i][1], c);
            }
        }
    }
    return std::string(reinterpret_cast<const char *>(&report), sizeof report);
}

// Decodes in a child process; returns what it found and sets riseKiB to its peak's rise.
Decoded DecodeInChild(const std::string &path, uint32_t width, uint32_t height, long &riseKiB) {
    const PeakResult peak = MeasurePeak([&] { return DecodeReport(path, width, height); });
    Decoded report;
    EXPECT_TRUE(peak.finished);
    EXPECT_EQ(peak.output.size(), sizeof report);
    peak.output.copy(reinterpret_cast<char *>(&report), sizeof report);
    riseKiB = peak.riseKiB;
    return report;
}

TEST(ReducedMemory, A3ScanAt600DpiIn16BitRgb) {
    TempDir dir;
    TiffPage page;
    page.width = 7016;
    page.height = 9920;
    page.samplesPerPixel = 3;
    page.bitsPerSample = 16;
    page.photometric = PHOTOMETRIC_RGB;
    page.compression = COMPRESSION_ADOBE_DEFLATE;
    page.predictor = 2;
    page.rowsPerStrip = 32;
    // Red across, green down, blue constant: each reduced pixel is the gradient at its centre.
    WriteTiffInBands(dir / "scan.tif", page, [&](uint32_t y, uint8_t *row) {
        auto *samples = reinterpret_cast<uint16_t *>(row);
        for (uint32_t x = 0; x < page.width; ++x) {
            samples[3 * x] = uint16_t(uint64_t{x} * 65535 / (page.width - 1));
            samples[3 * x + 1] = uint16_t(uint64_t{y} * 65535 / (page.height - 1));
            samples[3 * x + 2] = 0x8080;
        }
    });
    long riseKiB = 0;
    const Decoded report = DecodeInChild(dir / "scan.tif", 701, 992, riseKiB);
    ASSERT_TRUE(report.decoded) << report.error;
    EXPECT_LT(riseKiB, kBoundKiB);
    EXPECT_EQ(report.width, 701u);
    EXPECT_EQ(report.height, 992u);
    const uint8_t expected[3][3] = {{0, 0, 128}, {127, 127, 128}, {255, 255, 128}};
    for (int i = 0; i < 3; ++i) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(report.samples[i][c], expected[i][c], 1) << i << "," << c;
        }
    }
    RecordProperty("peak_rise_kib", std::to_string(riseKiB));
}

TEST(ReducedMemory, MapOf20000By20000GreyPixels) {
    TempDir dir;
    PngImage image;
    image.width = 20000;
    image.height = 20000;
    image.colour = PngColour::Grey;
    // A ramp across the picture that turns back at its middle, plus a step down the rows.
    WritePngInBands(dir / "map.png", image, [&](uint32_t y, uint8_t *row) {
        for (uint32_t x = 0; x < image.width; ++x) {
            const uint32_t across = x < 10000 ? x : 19999 - x;
            row[x] = uint8_t(across * 200 / 9999 + (y < 10000 ? 0 : 50));
        }
    });
    long riseKiB = 0;
    const Decoded report = DecodeInChild(dir / "map.png", 500, 500, riseKiB);
    ASSERT_TRUE(report.decoded) << report.error;
    EXPECT_LT(riseKiB, kBoundKiB);
    EXPECT_EQ(report.width, 500u);
    EXPECT_NEAR(report.samples[0][0], 0, 1);
    EXPECT_NEAR(report.samples[1][0], 250, 1);
    EXPECT_NEAR(report.samples[2][0], 50, 1);
    RecordProperty("peak_rise_kib", std::to_string(riseKiB));
}

} // namespace
