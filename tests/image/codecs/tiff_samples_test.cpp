// Sample unpacking, palette lookup and tile copying of CfImageTIF, and the stream procedures.
#include <cstdio>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "image/CfStdioStream.h"
#include "image/codecs/CfImageTIF.h"
#include "image/codecs/CfTiffStreamProcs.h"
#include "tests/image/ImageTestSupport.h"

namespace {

using namespace imagetest;
using namespace support;

// Packs values of `bits` bits, most significant bit first, into exactly the bytes they need.
std::vector<uint8_t> Pack(const std::vector<uint32_t> &values, uint32_t bits) {
    std::vector<uint8_t> out((values.size() * bits + 7) / 8, 0);
    for (size_t i = 0; i < values.size(); ++i) {
        for (uint32_t b = 0; b < bits; ++b) {
            if (values[i] >> (bits - 1 - b) & 1) {
                const size_t bit = i * bits + b;
                out[bit / 8] |= static_cast<uint8_t>(0x80 >> (bit % 8));
            }
        }
    }
    return out;
}

// The source sits at the very end of its own heap block, so any read past it is caught.
std::vector<uint8_t> Expand(const std::vector<uint8_t> &packed, uint32_t count, uint32_t bits) {
    std::unique_ptr<uint8_t[]> src(new uint8_t[packed.size()]);
    std::memcpy(src.get(), packed.data(), packed.size());
    std::vector<uint8_t> dst(count, 0xCC);
    CfImageTIF::ExpandSamples(dst.data(), src.get(), count, bits);
    return dst;
}

TEST(TiffExpandSamples, NarrowSamplesKeepTheirValue) {
    const std::vector<uint32_t> values = {0, 1, 2, 3, 3, 1, 0, 2, 1};
    EXPECT_EQ(Expand(Pack(values, 2), 9, 2), std::vector<uint8_t>(values.begin(), values.end()));
    const std::vector<uint32_t> threes = {7, 0, 5, 2, 6, 1, 3};
    EXPECT_EQ(Expand(Pack(threes, 3), 7, 3), std::vector<uint8_t>(threes.begin(), threes.end()));
    const std::vector<uint32_t> sixes = {63, 0, 42, 17, 5};
    EXPECT_EQ(Expand(Pack(sixes, 6), 5, 6), std::vector<uint8_t>(sixes.begin(), sixes.end()));
}

TEST(TiffExpandSamples, WideBitStreamSamplesGiveTheirTopByte) {
    const std::vector<uint32_t> twelves = {0xFFF, 0x123, 0xA5C, 0x00F, 0x801};
    EXPECT_EQ(Expand(Pack(twelves, 12), 5, 12),
              (std::vector<uint8_t>{0xFF, 0x12, 0xA5, 0x00, 0x80}));
    const std::vector<uint32_t> twenties = {0xFFFFF, 0x12345, 0xABCDE};
    EXPECT_EQ(Expand(Pack(twenties, 20), 3, 20), (std::vector<uint8_t>{0xFF, 0x12, 0xAB}));
}

// libtiff hands 24- and 32-bit samples over in little-endian host order.
TEST(TiffExpandSamples, HostOrderSamplesGiveTheirMostSignificantByte) {
    EXPECT_EQ(Expand({0x11, 0x22, 0x33, 0x44, 0x55, 0x66}, 2, 24),
              (std::vector<uint8_t>{0x33, 0x66}));
    EXPECT_EQ(Expand({1, 2, 3, 4, 5, 6, 7, 8}, 2, 32), (std::vector<uint8_t>{4, 8}));
}

std::vector<RGBQUAD> NumberedPalette(size_t n) {
    std::vector<RGBQUAD> palette(n);
    for (size_t i = 0; i < n; ++i) {
        palette[i].rgbBlue = static_cast<uint8_t>(i);
        palette[i].rgbGreen = static_cast<uint8_t>(i >> 8);
        palette[i].rgbRed = static_cast<uint8_t>(i >> 16);
    }
    return palette;
}

std::vector<uint32_t> LookUp(const std::vector<uint8_t> &src, uint32_t count, uint32_t bits,
                             const std::vector<RGBQUAD> &palette) {
    std::vector<uint8_t> dst(count * 3);
    CfImageTIF::ExpandPaletteSamples(dst.data(), src.data(), count, bits, palette.data());
    std::vector<uint32_t> indices;
    for (uint32_t i = 0; i < count; ++i) {
        indices.push_back(dst[3 * i] | dst[3 * i + 1] << 8 | dst[3 * i + 2] << 16);
    }
    return indices;
}

TEST(TiffExpandPaletteSamples, IndicesOfEveryDeepWidth) {
    const std::vector<uint32_t> twelves = {0xFFF, 0x123, 0x800, 0x001};
    EXPECT_EQ(LookUp(Pack(twelves, 12), 4, 12, NumberedPalette(1 << 12)), twelves);
    const std::vector<uint32_t> tens = {1023, 0, 512, 77, 300};
    EXPECT_EQ(LookUp(Pack(tens, 10), 5, 10, NumberedPalette(1 << 10)), tens);
    EXPECT_EQ(LookUp({0x34, 0x12, 0xFF, 0xFF}, 2, 16, NumberedPalette(1 << 16)),
              (std::vector<uint32_t>{0x1234, 0xFFFF}));
}

// The deepest palette: 2^24 entries (64 MiB), indexed by little-endian 24-bit samples.
TEST(TiffExpandPaletteSamples, TwentyFourBitIndicesReachTheWholePalette) {
    const std::vector<RGBQUAD> palette = NumberedPalette(size_t{1} << 24);
    EXPECT_EQ(LookUp({0xFF, 0xFF, 0xFF, 0x56, 0x34, 0x12, 0, 0, 0}, 3, 24, palette),
              (std::vector<uint32_t>{0xFFFFFF, 0x123456, 0}));
}

TEST(TiffCopyTileRows, RowsLandAtTheirStrides) {
    const std::vector<uint8_t> tile = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    std::vector<uint8_t> strip(10, 0);
    CfImageTIF::CopyTileRows(strip.data() + 1, tile.data(), 3, 2, 1, 1);
    EXPECT_EQ(strip, (std::vector<uint8_t>{0, 1, 2, 0, 4, 5, 0, 7, 8, 0}));
}

TEST(TiffStreamProcs, SeekFollowsTheStreamAndRefusesWhatItCannotReach) {
    FILE *file = OpenBytes({'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'});
    CfStdioStream stream(file);
    EXPECT_EQ(TiffStreamSize(&stream), 10u);
    EXPECT_EQ(TiffStreamSeek(&stream, 4, SEEK_SET), 4u);
    EXPECT_EQ(TiffStreamSeek(&stream, 3, SEEK_CUR), 7u);
    EXPECT_EQ(TiffStreamSeek(&stream, static_cast<toff_t>(-2), SEEK_END), 8u);
    EXPECT_EQ(TiffStreamSeek(&stream, static_cast<toff_t>(-1), SEEK_SET), static_cast<toff_t>(-1));
    EXPECT_EQ(stream.Tell(), 8) << "an offset of all ones must not move the stream";
    EXPECT_EQ(TiffStreamSeek(&stream, toff_t{1} << 32, SEEK_SET), static_cast<toff_t>(-1));
    EXPECT_EQ(stream.Tell(), 8);
    char buffer[4] = {};
    EXPECT_EQ(TiffStreamRead(&stream, buffer, 4), 2);
    EXPECT_EQ(std::string(buffer, 2), "89");
    EXPECT_EQ(TiffStreamClose(&stream), 0);
    EXPECT_EQ(stream.Tell(), 10) << "closing through libtiff leaves the stream open";
    void *base = nullptr;
    toff_t size = 0;
    EXPECT_EQ(TiffStreamMap(&stream, &base, &size), 0);
    std::fclose(file);
}

} // namespace
