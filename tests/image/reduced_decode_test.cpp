// The reduced decode against the full decode of the same file, area-averaged by the tests' own
// reference: every JPEG, PNG and TIFF layout the preview meets, each orientation, the kept part
// of a page, and the files that claim far more pixels than they hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>

#include <sys/stat.h>
#include <tiffio.h>

#include "image/ReducedDecode.h"
#include "tests/image/ReducedTestSupport.h"
#include "tests/support/Bytes.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Png.h"
#include "tests/support/Tiff.h"

namespace {

using namespace reducedtest;
using namespace support;

// Smooth shading, a gentle wave in each channel: what a lossy scaled decode can be held to
// closely.
Picture Shaded(int width, int height, int components) {
    Picture picture = Blank(width, height, components);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < components; ++c) {
                const double wave = std::sin(x / (19.0 + 7 * c)) * std::cos(y / (23.0 - 3 * c));
                picture.At(x, y, c) = static_cast<uint8_t>(128 + 100 * wave);
            }
        }
    }
    return picture;
}

struct Case {
    std::string name;
    std::function<Bytes(const TempDir &)> make;
    uint32_t width; // the reduced size
    uint32_t height;
    int tolerance; // largest difference of any sample
};

std::string NameOf(const testing::TestParamInfo<Case> &info) {
    return info.param.name;
}

Bytes TiffBytes(const TempDir &dir, const TiffPage &page) {
    WriteTiff(dir / "page.tif", {page});
    return ReadFile(dir / "page.tif");
}

// The page at 16 bits a sample in host order: each 8-bit sample v as v * 257 (the whole range)
// or as v << 4 (12 significant bits).
TiffPage Wide(const TiffPage &page, bool wholeRange) {
    TiffPage wide = page;
    wide.bitsPerSample = 16;
    wide.data.clear();
    for (uint8_t v : page.data) {
        const auto w = static_cast<uint16_t>(wholeRange ? v * 257 : v << 4);
        wide.data.push_back(static_cast<uint8_t>(w));
        wide.data.push_back(static_cast<uint8_t>(w >> 8));
    }
    return wide;
}

TiffPage Palette(int bits, int width, int height) {
    TiffPage page;
    page.width = width;
    page.height = height;
    page.bitsPerSample = static_cast<uint16_t>(bits);
    page.photometric = PHOTOMETRIC_PALETTE;
    const int entries = 1 << bits;
    for (int c = 0; c < 3; ++c) {
        for (int i = 0; i < entries; ++i) {
            page.colorMap.push_back(static_cast<uint16_t>(((i * (37 + 50 * c)) % 256) * 257));
        }
    }
    page.data.assign(page.RowBytes() * height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int index = (x / 3 + y / 5) % entries;
            const size_t bit = size_t(y) * page.RowBytes() * 8 + size_t(x) * bits;
            page.data[bit / 8] |= static_cast<uint8_t>(index << (8 - bits - bit % 8));
        }
    }
    return page;
}

Bytes PngGrey16(int width, int height) {
    PngImage image;
    image.width = width;
    image.height = height;
    image.colour = PngColour::Grey;
    image.bitDepth = 16;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int v = (x * 65535 / width + y * 977) % 65536;
            image.data.push_back(static_cast<uint8_t>(v >> 8));
            image.data.push_back(static_cast<uint8_t>(v));
        }
    }
    return MakePng(image);
}

Bytes PngPalette(int width, int height, bool transparent, bool interlaced) {
    PngImage image;
    image.width = width;
    image.height = height;
    image.colour = PngColour::Palette;
    image.interlaced = interlaced;
    for (int i = 0; i < 16; ++i) {
        image.palette.push_back(uint32_t(i * 16) << 16 | uint32_t(255 - i * 9) << 8 |
                                (i * 71 % 256));
        if (transparent) {
            image.transparency.push_back(static_cast<uint8_t>(255 - i * 15));
        }
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.data.push_back(static_cast<uint8_t>((x / 2 + y / 3) % 16));
        }
    }
    return MakePng(image);
}

std::vector<Case> PngCases() {
    return {
        {"png_rgb", [](const TempDir &) { return MakePng(PngImageOf(Pattern(301, 203, 3))); }, 97,
         61, 1},
        {"png_grey16", [](const TempDir &) { return PngGrey16(250, 170); }, 31, 23, 1},
        {"png_palette", [](const TempDir &) { return PngPalette(121, 77, false, false); }, 40, 25,
         1},
        {"png_palette_trns_interlaced",
         [](const TempDir &) { return PngPalette(121, 77, true, true); }, 33, 19, 1},
        {"png_grey_alpha", [](const TempDir &) { return MakePng(PngImageOf(Pattern(90, 70, 2))); },
         17, 13, 1},
        {"png_rgba_interlaced",
         [](const TempDir &) {
             PngImage image = PngImageOf(Pattern(203, 155, 4));
             image.interlaced = true;
             return MakePng(image);
         },
         50, 38, 1},
        {"png_interlaced_tiny", [](const TempDir &) { return PngPalette(3, 2, true, true); }, 1, 1,
         1},
    };
}

std::vector<Case> TiffCases() {
    return {
        {"tiff_rgb_strips",
         [](const TempDir &d) {
             TiffPage page = TiffPageOf(Pattern(301, 203, 3));
             page.rowsPerStrip = 7;
             return TiffBytes(d, page);
         },
         97, 61, 1},
        {"tiff_rgba",
         [](const TempDir &d) { return TiffBytes(d, TiffPageOf(Pattern(150, 90, 4))); }, 41, 29, 1},
        {"tiff_rgb16_deflate",
         [](const TempDir &d) {
             TiffPage page = Wide(TiffPageOf(Pattern(160, 120, 3)), true);
             page.compression = COMPRESSION_ADOBE_DEFLATE;
             page.predictor = 2;
             page.rowsPerStrip = 16;
             return TiffBytes(d, page);
         },
         50, 37, 1},
        {"tiff_cmyk",
         [](const TempDir &d) {
             TiffPage page = TiffPageOf(Pattern(120, 80, 4));
             page.photometric = PHOTOMETRIC_SEPARATED;
             page.extraSamples.clear();
             return TiffBytes(d, page);
         },
         37, 21, 1},
        {"tiff_ycbcr_jpeg",
         [](const TempDir &d) {
             TiffPage page = TiffPageOf(Shaded(200, 136, 3));
             page.photometric = PHOTOMETRIC_YCBCR;
             page.compression = COMPRESSION_JPEG;
             page.rowsPerStrip = 32;
             return TiffBytes(d, page);
         },
         61, 41, 1},
        {"tiff_palette8", [](const TempDir &d) { return TiffBytes(d, Palette(8, 130, 90)); }, 43,
         29, 1},
        {"tiff_palette4", [](const TempDir &d) { return TiffBytes(d, Palette(4, 131, 91)); }, 43,
         29, 1},
        {"tiff_bilevel_g4",
         [](const TempDir &d) {
             TiffPage page = FaxPage(301, 200);
             for (size_t i = 0; i < page.data.size(); ++i) {
                 page.data[i] = (i / page.RowBytes()) % 9 < 4 ? 0x0F : 0x00;
             }
             return TiffBytes(d, page);
         },
         60, 40, 1},
        {"tiff_grey16_strips",
         [](const TempDir &d) {
             // The largest sample is 0x0FF0: the full decoder keeps 12 significant bits.
             TiffPage page = Wide(TiffPageOf(Pattern(140, 100, 1)), false);
             page.rowsPerStrip = 9;
             return TiffBytes(d, page);
         },
         45, 31, 1},
        {"tiff_grey16_tiles",
         [](const TempDir &d) {
             TiffPage page = Wide(TiffPageOf(Pattern(100, 70, 1)), true);
             page.tileWidth = 32;
             page.tileLength = 16;
             return TiffBytes(d, page);
         },
         33, 23, 1},
        {"tiff_rgb_tiles_clipped",
         [](const TempDir &d) {
             TiffPage page = TiffPageOf(Pattern(101, 77, 3));
             page.tileWidth = 32;
             page.tileLength = 32;
             return TiffBytes(d, page);
         },
         29, 19, 1},
        {"tiff_rgb_planar",
         [](const TempDir &d) {
             TiffPage page = TiffPageOf(Pattern(120, 90, 3));
             page.planar = PLANARCONFIG_SEPARATE;
             page.rowsPerStrip = 10;
             return TiffBytes(d, page);
         },
         41, 31, 1},
        {"tiff_grey_alpha",
         [](const TempDir &d) { return TiffBytes(d, TiffPageOf(Pattern(90, 60, 2))); }, 31, 19, 1},
    };
}

// libjpeg's scaled decode is not the full decode averaged, only close to it on smooth content.
std::vector<Case> JpegCases() {
    const auto jpeg = [](int components, JpegOptions options) {
        return [=](const TempDir &) { return MakeJpeg(Shaded(640, 480, components), options); };
    };
    JpegOptions progressive;
    progressive.progressive = true;
    JpegOptions arithmetic;
    arithmetic.arithmetic = true;
    JpegOptions restarts;
    restarts.restartRows = 1;
    return {
        {"jpeg_colour", jpeg(3, {}), 75, 56, 4},
        {"jpeg_colour_third", jpeg(3, {}), 213, 160, 4},
        {"jpeg_grey", jpeg(1, {}), 80, 60, 4},
        {"jpeg_cmyk", jpeg(4, {}), 80, 60, 4},
        {"jpeg_progressive", jpeg(3, progressive), 100, 75, 4},
        {"jpeg_arithmetic", jpeg(3, arithmetic), 100, 75, 4},
        {"jpeg_restart_markers", jpeg(3, restarts), 100, 75, 4},
        {"jpeg_without_end_marker",
         [](const TempDir &) {
             Bytes file = MakeJpeg(Shaded(640, 480, 3));
             // A complete scan with its end marker cut off.
             file.erase(file.end() - 2, file.end());
             return file;
         },
         80, 60, 4},
    };
}

std::vector<Case> AllCases() {
    std::vector<Case> cases = PngCases();
    for (auto more : {TiffCases(), JpegCases()}) {
        cases.insert(cases.end(), more.begin(), more.end());
    }
    return cases;
}

// The full decode of the file, upright, as a picture.
Picture FullDecode(const std::string &path) {
    CfImage full;
    EXPECT_TRUE(full.Load(path.c_str())) << full.GetLastError();
    if (full.GetFormatType() == FormatJpeg) {
        EXPECT_TRUE(full.ApplyOrientation(full.info.exif.orientation));
    }
    return ToPicture(full);
}

Picture Reduced(const std::string &path, const ReducedSizeChooser &choose,
                ReducedFacts *facts = nullptr) {
    CfImage reduced;
    EXPECT_TRUE(loadReduced(path.c_str(), choose, reduced, facts)) << reduced.GetLastError();
    return ToPicture(reduced);
}

class ReducedDecode : public testing::TestWithParam<Case> {
protected:
    std::string Write(const Bytes &bytes) {
        WriteFile(dir / "file", bytes);
        return dir / "file";
    }
    TempDir dir;
};

TEST_P(ReducedDecode, IsTheFullDecodeAreaAveraged) {
    const Case &c = GetParam();
    const std::string path = Write(c.make(dir));
    const Picture full = FullDecode(path);
    ReducedFacts facts;
    const Picture reduced = Reduced(path, Fixed(c.width, c.height), &facts);
    EXPECT_EQ(facts.uprightWidth, uint32_t(full.width));
    EXPECT_EQ(facts.uprightHeight, uint32_t(full.height));
    ASSERT_EQ(reduced.components, full.components);
    EXPECT_LE(MaxDifference(reduced, AreaAverage(full, int(c.width), int(c.height))), c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Formats, ReducedDecode, testing::ValuesIn(AllCases()), NameOf);

// Stored 120 x 80 with an orientation of 5 to 8, shown 80 x 120: every way of turning lands
// each corner where the full decode puts it.
class ReducedOrientation : public testing::TestWithParam<int> {
protected:
    void Check(const std::string &path, int tolerance) {
        const Picture full = FullDecode(path);
        const bool turned = GetParam() >= 5;
        ASSERT_EQ(full.width, turned ? 80 : 120);
        const Picture reduced = Reduced(path, Fixed(full.width / 4, full.height / 4));
        EXPECT_LE(MaxDifference(reduced, AreaAverage(full, full.width / 4, full.height / 4)),
                  tolerance);
    }
    TempDir dir;
};

TEST_P(ReducedOrientation, TiffPageComesOutUpright) {
    TiffPage page = TiffPageOf(Pattern(120, 80, 3));
    page.orientation = static_cast<uint16_t>(GetParam());
    WriteTiff(dir / "page.tif", {page});
    Check(dir / "page.tif", 1);
}

TEST_P(ReducedOrientation, JpegPhotoComesOutUprightByItsExif) {
    JpegOptions options;
    options.exifOrientation = GetParam();
    WriteFile(dir / "photo.jpg", MakeJpeg(Shaded(120, 80, 3), options));
    Check(dir / "photo.jpg", 4);
}

INSTANTIATE_TEST_SUITE_P(AllEight, ReducedOrientation, testing::Range(1, 9));

// Sets the value of a SHORT tag of the first directory of a little-endian TIFF file.
void SetShortTag(Bytes &file, uint16_t tag, uint16_t value) {
    auto at16 = [&](size_t i) { return uint16_t(file.at(i) | file.at(i + 1) << 8); };
    const size_t ifd = at16(4) | size_t{at16(6)} << 16;
    for (size_t entry = ifd + 2; entry < ifd + 2 + 12 * size_t{at16(ifd)}; entry += 12) {
        if (at16(entry) == tag) {
            file.at(entry + 8) = uint8_t(value);
            file.at(entry + 9) = uint8_t(value >> 8);
            return;
        }
    }
    FAIL() << "no tag " << tag;
}

// An Orientation outside 1..8 leaves the page as stored, in the full decode and the reduced one
// alike: neither turns it nor swaps its sides.
TEST(ReducedOrientationUnknown, TiffPageIsShownAsStored) {
    TempDir dir;
    const Picture stored = Pattern(120, 80, 3);
    TiffPage page = TiffPageOf(stored);
    page.orientation = ORIENTATION_LEFTBOT;
    Bytes file = TiffBytes(dir, page);
    ASSERT_EQ(file.at(0), 'I');
    SetShortTag(file, TIFFTAG_ORIENTATION, 9);
    WriteFile(dir / "page.tif", file);
    const Picture full = FullDecode(dir / "page.tif");
    ASSERT_EQ(full.width, 120);
    EXPECT_EQ(MaxDifference(full, stored), 0);
    const Picture reduced = Reduced(dir / "page.tif", Fixed(30, 20));
    ASSERT_EQ(reduced.width, 30);
    EXPECT_LE(MaxDifference(reduced, AreaAverage(stored, 30, 20)), 1);
}

TEST(ReducedKeep, TheKeptPartIsThatPartOfTheWholeReducedPicture) {
    TempDir dir;
    for (uint16_t orientation : {1, 6}) {
        TiffPage page = TiffPageOf(Pattern(300, 200, 3));
        page.orientation = orientation;
        WriteTiff(dir / "page.tif", {page});
        const uint32_t width = orientation == 6 ? 50 : 75;
        const uint32_t height = orientation == 6 ? 75 : 50;
        const ImageBox keep{7, 11, 40, 30};
        const Picture whole = Reduced(dir / "page.tif", Fixed(width, height));
        const Picture part = Reduced(dir / "page.tif", Fixed(width, height, keep));
        EXPECT_EQ(MaxDifference(part, Crop(whole, keep)), 0) << "orientation " << orientation;
    }
}

// Asked for lightness only, a colour JPEG comes out in grey: the luminance of its colour
// decode, upright, whatever its EXIF turn; a PNG keeps its colours.
TEST(ReducedGrey, AColourJpegGivesItsLightnessAndOtherFilesTheirColours) {
    TempDir dir;
    const auto greyOnly = [](uint32_t width, uint32_t height) {
        return [=](uint32_t, uint32_t) {
            ReducedSize size{width, height};
            size.grey = true;
            return std::optional<ReducedSize>(size);
        };
    };
    for (int orientation : {1, 6}) {
        JpegOptions options;
        options.exifOrientation = orientation;
        WriteFile(dir / "photo.jpg", MakeJpeg(Shaded(120, 80, 3), options));
        const uint32_t width = orientation == 6 ? 20 : 30;
        const uint32_t height = orientation == 6 ? 30 : 20;
        const Picture colour = Reduced(dir / "photo.jpg", Fixed(width, height));
        const Picture grey = Reduced(dir / "photo.jpg", greyOnly(width, height));
        ASSERT_EQ(grey.components, 1);
        ASSERT_EQ(grey.width, colour.width);
        ASSERT_EQ(grey.height, colour.height);
        int worst = 0;
        for (int y = 0; y < grey.height; ++y) {
            for (int x = 0; x < grey.width; ++x) {
                const double luma = 0.299 * colour.At(x, y, 0) + 0.587 * colour.At(x, y, 1) +
                                    0.114 * colour.At(x, y, 2);
                worst = std::max(worst, int(std::lround(std::abs(grey.At(x, y, 0) - luma))));
            }
        }
        EXPECT_LE(worst, 2) << "orientation " << orientation;
    }
    WriteFile(dir / "picture.png", MakePng(PngImageOf(Shaded(120, 80, 3))));
    EXPECT_EQ(Reduced(dir / "picture.png", greyOnly(30, 20)).components, 3);
}

TEST(ReducedSizes, TheChooserSeesTheUprightSizeAndBadAnswersAreRefused) {
    TempDir dir;
    JpegOptions options;
    options.exifOrientation = 8;
    WriteFile(dir / "photo.jpg", MakeJpeg(Shaded(64, 48, 3), options));
    uint32_t seenWidth = 0;
    uint32_t seenHeight = 0;
    const ReducedSizeChooser watch = [&](uint32_t w, uint32_t h) {
        seenWidth = w;
        seenHeight = h;
        return std::optional<ReducedSize>(reducedSizeWithin(w, h, 10, 10));
    };
    CfImage image;
    ASSERT_TRUE(loadReduced((dir / "photo.jpg").c_str(), watch, image));
    EXPECT_EQ(seenWidth, 48u);
    EXPECT_EQ(seenHeight, 64u);
    EXPECT_EQ(image.GetWidth(), 8u);
    EXPECT_EQ(image.GetHeight(), 10u);

    for (const ReducedSize &bad :
         {ReducedSize{49, 10}, ReducedSize{0, 10}, ReducedSize{10, 10, ImageBox{5, 5, 11, 6}}}) {
        EXPECT_FALSE(loadReduced((dir / "photo.jpg").c_str(),
                                 Fixed(bad.width, bad.height, bad.keep), image));
        EXPECT_NE(std::string(image.GetLastError()).find("AreaReducer"), std::string::npos)
            << image.GetLastError();
        EXPECT_FALSE(image.IsValid());
    }
    const ReducedSizeChooser decline = [](uint32_t, uint32_t) { return std::nullopt; };
    EXPECT_FALSE(loadReduced((dir / "photo.jpg").c_str(), decline, image));
    EXPECT_NE(std::string(image.GetLastError()).find("no reduced size"), std::string::npos);
}

TEST(ReducedLoad, APipeOrFolderNamedLikeAPictureIsRefusedAtOnce) {
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "pipe.jpg").c_str(), 0600), 0);
    std::filesystem::create_directory(dir / "folder.jpg");
    for (const std::string name : {"pipe.jpg", "folder.jpg"}) {
        // Nothing writes to the pipe: opening it as before would wait for ever.
        CfImage image;
        EXPECT_FALSE(loadReduced((dir / name).c_str(), Fixed(8, 8), image));
        EXPECT_NE(std::string(image.GetLastError()).find("not a regular file"), std::string::npos)
            << image.GetLastError();
        CfImage whole;
        EXPECT_FALSE(whole.Load((dir / name).c_str(), FormatJpeg));
        EXPECT_FALSE(whole.Load((dir / name).c_str(), FormatUnknown));
    }
}

} // namespace
