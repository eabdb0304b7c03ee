// Files whose sizes, depths and offsets do not add up: each decodes or fails cleanly, and none
// reads or writes out of bounds (the suite runs under AddressSanitizer).
#include <algorithm>
#include <filesystem>
#include <map>

#include "tests/image/ImageTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Tiff.h"
#include <gtest/gtest.h>

namespace {

using namespace imagetest;
using namespace support;

// A little-endian classic TIFF with one directory of single-valued SHORT or LONG tags and the
// given bytes as image data at offset 8 (StripOffsets points there unless set otherwise).
std::vector<uint8_t> CraftTiff(std::map<uint16_t, uint32_t> tags,
                               const std::vector<uint8_t> &data) {
    tags.emplace(TIFFTAG_STRIPOFFSETS, 8);
    tags.emplace(TIFFTAG_STRIPBYTECOUNTS, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> out = {'I', 'I', 42, 0};
    const auto put16 = [&out](uint32_t v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    };
    const auto put32 = [&](uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    put32(static_cast<uint32_t>(8 + data.size()));
    out.insert(out.end(), data.begin(), data.end());
    put16(static_cast<uint32_t>(tags.size()));
    for (const auto &[tag, value] : tags) {
        const bool isLong = value > 0xFFFF || tag == TIFFTAG_IMAGEWIDTH ||
                            tag == TIFFTAG_IMAGELENGTH || tag == TIFFTAG_STRIPOFFSETS ||
                            tag == TIFFTAG_STRIPBYTECOUNTS || tag == TIFFTAG_ROWSPERSTRIP ||
                            tag == TIFFTAG_TILEOFFSETS || tag == TIFFTAG_TILEBYTECOUNTS;
        put16(tag);
        put16(isLong ? TIFF_LONG : TIFF_SHORT);
        put32(1);
        if (isLong) {
            put32(value);
        } else {
            put16(value);
            put16(0);
        }
    }
    put32(0);
    return out;
}

struct Outcome {
    bool ok;
    std::string error;
    uint32_t width, height;
};

Outcome LoadBytes(const std::vector<uint8_t> &bytes) {
    const TempFile file(bytes);
    CfImage image;
    const bool ok = image.Load(file.Path().c_str(), FormatTiff);
    return {ok, image.GetLastError(), image.GetWidth(), image.GetHeight()};
}

std::map<uint16_t, uint32_t> Grey(uint32_t width, uint32_t height, uint32_t bits,
                                  uint32_t samples = 1) {
    return {{TIFFTAG_IMAGEWIDTH, width},
            {TIFFTAG_IMAGELENGTH, height},
            {TIFFTAG_BITSPERSAMPLE, bits},
            {TIFFTAG_SAMPLESPERPIXEL, samples},
            {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK},
            {TIFFTAG_COMPRESSION, COMPRESSION_NONE}};
}

TEST(TiffHostile, ImagesBeyondTheCeilingOrTheCoordinateRangeAreRefused) {
    for (const auto &[w, h, bits] : {std::tuple{100000u, 100000u, 8u},
                                     std::tuple{0x80000000u, 1u, 1u}, std::tuple{0u, 5u, 8u}}) {
        const Outcome out = LoadBytes(CraftTiff(Grey(w, h, bits), {0, 0, 0, 0}));
        EXPECT_FALSE(out.ok) << w << "x" << h;
        EXPECT_TRUE(out.error == "CfImageTIF can't create image" ||
                    out.error == "Error encountered while opening TIFF file")
            << out.error;
    }
}

// Sample layouts whose bytes per pixel do not match one byte per sample: the row conversion
// stays within the row that libtiff delivered.
TEST(TiffHostile, SampleLayoutsThatDoNotFitTheRowStayInBounds) {
    const struct {
        uint32_t samples, bits;
    } layouts[] = {{3, 4}, {3, 1},  {2, 32}, {2, 4},  {4, 2},  {3, 12},
                   {5, 8}, {2, 16}, {1, 24}, {1, 31}, {1, 64}, {1, 7}};
    for (const auto &l : layouts) {
        const uint32_t width = 7;
        const uint32_t height = 3;
        const size_t bytes = (size_t{width} * l.samples * l.bits + 7) / 8 * height;
        auto tags = Grey(width, height, l.bits, l.samples);
        if (l.samples >= 3) {
            tags[TIFFTAG_PHOTOMETRIC] = PHOTOMETRIC_CIELAB;
        }
        if (l.samples == 2) {
            tags[TIFFTAG_EXTRASAMPLES] = EXTRASAMPLE_UNASSALPHA;
        }
        const Outcome out = LoadBytes(CraftTiff(tags, std::vector<uint8_t>(bytes, 0xA7)));
        EXPECT_TRUE(out.ok) << l.samples << "x" << l.bits << ": " << out.error;
    }
}

TEST(TiffHostile, TwentyFourBitGreyShowsTheHighByte) {
    TempDir dir;
    const std::vector<uint8_t> data = {0x01, 0x02, 0x90, 0xFF, 0xFF, 0x10};
    const std::string path = dir / "grey24";
    WriteFile(path, CraftTiff(Grey(2, 1, 24), data));
    CfImage image;
    ASSERT_TRUE(image.Load(path.c_str(), FormatTiff)) << image.GetLastError();
    EXPECT_EQ(PixelFromTop(image, 0, 0).rgbRed, 0x90);
    EXPECT_EQ(PixelFromTop(image, 1, 0).rgbRed, 0x10);
}

TEST(TiffHostile, StripDataBeyondTheFileEndsTheImageEarly) {
    auto tags = Grey(4, 4, 8);
    tags[TIFFTAG_ROWSPERSTRIP] = 4;
    tags[TIFFTAG_STRIPBYTECOUNTS] = 1000000;
    const Outcome out = LoadBytes(CraftTiff(tags, std::vector<uint8_t>(16, 0x55)));
    if (out.ok) {
        EXPECT_EQ(out.width, 4u);
    } else {
        EXPECT_EQ(out.error, "Error encountered while opening TIFF file");
    }
}

TEST(TiffHostile, OddStripAndTileSizesNeverOverrun) {
    auto zeroRows = Grey(5, 3, 8);
    zeroRows[TIFFTAG_ROWSPERSTRIP] = 0;
    auto hugeRows = Grey(5, 3, 8);
    hugeRows[TIFFTAG_ROWSPERSTRIP] = 0xFFFFFFF0;
    auto shortStrip = Grey(5, 3, 8);
    shortStrip[TIFFTAG_STRIPBYTECOUNTS] = 4;
    auto tiles = Grey(40, 20, 8);
    tiles.erase(TIFFTAG_STRIPOFFSETS);
    tiles.erase(TIFFTAG_STRIPBYTECOUNTS);
    tiles[TIFFTAG_TILEWIDTH] = 16;
    tiles[TIFFTAG_TILELENGTH] = 16;
    tiles[TIFFTAG_TILEOFFSETS] = 8;
    tiles[TIFFTAG_TILEBYTECOUNTS] = 256;
    auto giantTile = tiles;
    giantTile[TIFFTAG_TILEWIDTH] = 0x10000;
    giantTile[TIFFTAG_TILELENGTH] = 0x10000;
    for (const auto &tags : {zeroRows, hugeRows, shortStrip, tiles, giantTile}) {
        std::vector<uint8_t> data(256, 0x42);
        const Outcome out = LoadBytes(CraftTiff(tags, data));
        if (!out.ok) {
            EXPECT_TRUE(out.error == "Error encountered while opening TIFF file" ||
                        out.error == "Corrupted tiled TIFF file!" ||
                        out.error == "CfImageTIF can't allocate memory")
                << out.error;
        }
    }
}

// An uncompressed little-endian grey TIFF with its directory first and its strips after it,
// as some scanners write: a cut file keeps its directory and loses strips from the end.
Bytes DirectoryFirstTiff(uint32_t width, uint32_t height, uint32_t rowsPerStrip,
                         const Bytes &pixels) {
    const uint32_t strips = (height + rowsPerStrip - 1) / rowsPerStrip;
    const uint16_t entries = 8;
    const uint32_t arrays = 8 + 2 + 12 * entries + 4;
    const uint32_t data = arrays + 8 * strips;
    Bytes out = {'I', 'I', 42, 0};
    PutLe32(out, 8);
    PutLe16(out, entries);
    const auto entry = [&out](uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
        PutLe16(out, tag);
        PutLe16(out, type);
        PutLe32(out, count);
        PutLe32(out, value);
    };
    entry(TIFFTAG_IMAGEWIDTH, TIFF_LONG, 1, width);
    entry(TIFFTAG_IMAGELENGTH, TIFF_LONG, 1, height);
    entry(TIFFTAG_BITSPERSAMPLE, TIFF_SHORT, 1, 8);
    entry(TIFFTAG_COMPRESSION, TIFF_SHORT, 1, COMPRESSION_NONE);
    entry(TIFFTAG_PHOTOMETRIC, TIFF_SHORT, 1, PHOTOMETRIC_MINISBLACK);
    entry(TIFFTAG_STRIPOFFSETS, TIFF_LONG, strips, arrays);
    entry(TIFFTAG_ROWSPERSTRIP, TIFF_LONG, 1, rowsPerStrip);
    entry(TIFFTAG_STRIPBYTECOUNTS, TIFF_LONG, strips, arrays + 4 * strips);
    PutLe32(out, 0);
    for (uint32_t s = 0; s < strips; ++s) {
        PutLe32(out, data + s * rowsPerStrip * width);
    }
    for (uint32_t s = 0; s < strips; ++s) {
        PutLe32(out, std::min(rowsPerStrip, height - s * rowsPerStrip) * width);
    }
    Append(out, pixels);
    return out;
}

TEST(TiffHostile, TruncatedFilesFailOrKeepWhatWasRead) {
    // As libtiff writes them, the directory comes last: any cut loses it and the load fails.
    TiffPage page = TiffPageOf(Pattern(64, 64, 1));
    page.rowsPerStrip = 8;
    page.compression = COMPRESSION_LZW;
    TempDir dir;
    WriteTiff(dir / "whole.tif", {page});
    const Bytes whole = ReadFile(dir / "whole.tif");
    for (size_t cut : {size_t{8}, whole.size() / 3, whole.size() / 2, whole.size() - 5}) {
        const Outcome out = LoadBytes(Bytes(whole.begin(), whole.begin() + long(cut)));
        EXPECT_FALSE(out.ok) << cut;
        EXPECT_EQ(out.error, "Error encountered while opening TIFF file") << cut;
    }

    // With the directory first, a cut inside the third of four strips: the image loads at its
    // size, and the two whole strips show exactly their rows.
    const Picture grey = Pattern(16, 16, 1);
    const Bytes file = DirectoryFirstTiff(16, 16, 4, grey.samples);
    const Bytes cut(file.begin(), file.end() - 16 * 4 - 16 * 2);
    const TempFile truncated(cut);
    CfImage image;
    ASSERT_TRUE(image.Load(truncated.Path().c_str(), FormatTiff)) << image.GetLastError();
    ASSERT_EQ(image.GetWidth(), 16u);
    ASSERT_EQ(image.GetHeight(), 16u);
    for (uint32_t y = 0; y < 8; ++y) {
        for (uint32_t x = 0; x < 16; ++x) {
            ASSERT_EQ(PixelFromTop(image, x, y).rgbRed, grey.At(int(x), int(y), 0))
                << x << "," << y;
        }
    }
}

// The real-world files of the shared corpus, damaged ones included, never crash the decoder.
TEST(TiffHostile, CorpusFilesDecodeOrFailCleanly) {
    const std::filesystem::path root =
        std::filesystem::path(FOLVANE_SOURCE_DIR) / ".." / "shared" / "corpus" / "tiff";
    if (!std::filesystem::is_directory(root)) {
        GTEST_SKIP() << "no corpus at " << root;
    }
    size_t files = 0;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".tif" && ext != ".tiff") {
            continue;
        }
        for (int32_t frame : {0, 1}) {
            CfImage image;
            image.info.frame = frame;
            image.Load(entry.path().c_str(), FormatTiff);
        }
        ++files;
    }
    EXPECT_GT(files, 0u);
}

} // namespace
