// The test support library writes what it is asked to: each file read back by the format's own
// library. A writer that silently dropped an option would make every test that relies on it
// pass without testing anything.
#include <cstring>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/Files.h"
#include "tests/support/Icc.h"
#include "tests/support/Jpeg.h"
#include "tests/support/MalformedTiff.h"
#include "tests/support/PeakMemory.h"
#include "tests/support/Png.h"
#include "tests/support/Process.h"
#include "tests/support/Tiff.h"

namespace {

using namespace support;

// The ICC profile libjpeg reassembles from a file's APP2 segments.
Bytes IccOfJpeg(const Bytes &jpeg) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_save_markers(&cinfo, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&cinfo, TRUE);
    JOCTET *profile = nullptr;
    unsigned int length = 0;
    Bytes icc;
    if (jpeg_read_icc_profile(&cinfo, &profile, &length)) {
        icc.assign(profile, profile + length);
        std::free(profile);
    }
    jpeg_destroy_decompress(&cinfo);
    return icc;
}

TEST(SupportJpeg, OptionsReachTheFile) {
    const Picture picture = Pattern(40, 24, 3);
    JpegOptions options;
    options.quality = 100;
    options.hSampling = options.vSampling = 1;
    options.progressive = true;
    options.restartRows = 1;
    options.exifOrientation = 6;
    options.iccProfile = IccProfile(3);
    options.iccSegments = 3;
    const Bytes jpeg = MakeJpeg(picture, options);
    EXPECT_NE(FindMarker(jpeg, 0xC2), std::string::npos) << "progressive frame";
    EXPECT_NE(FindMarker(jpeg, 0xDD), std::string::npos) << "restart interval";
    EXPECT_TRUE(Contains(jpeg, {'E', 'x', 'i', 'f', 0, 0, 'M', 'M'}));
    EXPECT_TRUE(Contains(jpeg, {0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, 6}));
    EXPECT_EQ(IccOfJpeg(jpeg), options.iccProfile);

    const DecodedJpeg decoded = DecodeJpeg(jpeg);
    ASSERT_TRUE(decoded.ok);
    EXPECT_LE(MaxDifference(decoded.picture, picture), 8);

    JpegOptions arithmetic;
    arithmetic.arithmetic = true;
    EXPECT_NE(FindMarker(MakeJpeg(Pattern(8, 8, 1), arithmetic), 0xC9), std::string::npos);
    const Bytes cmyk = MakeJpeg(Pattern(8, 8, 4));
    EXPECT_NE(FindMarker(cmyk, 0xEE), std::string::npos) << "Adobe marker";
    EXPECT_EQ(DecodeJpeg(cmyk).picture.components, 4);
    EXPECT_EQ(DecodeJpeg(MakeJpeg(Pattern(8, 8, 1)), {JCS_RGB}).picture.components, 3);
}

TEST(SupportTiff, PagesKeepTheirOwnLayoutAndDecodeExactly) {
    TempDir dir;
    const Picture rgb = Pattern(20, 12, 3);
    std::vector<TiffPage> pages;
    for (uint16_t compression :
         {COMPRESSION_NONE, COMPRESSION_LZW, COMPRESSION_ADOBE_DEFLATE, COMPRESSION_PACKBITS}) {
        TiffPage page = TiffPageOf(rgb);
        page.compression = compression;
        page.rowsPerStrip = 5;
        pages.push_back(page);
    }
    pages[1].planar = PLANARCONFIG_SEPARATE;
    pages[2].tileWidth = pages[2].tileLength = 16;
    pages[3].orientation = ORIENTATION_BOTRIGHT;
    pages[3].iccProfile = IccProfile(3);
    WriteTiff(dir / "pages.tif", pages);

    for (int page = 0; page < 3; ++page) {
        EXPECT_EQ(MaxDifference(WithoutAlpha(ReadTiffRgba(dir / "pages.tif", page)), rgb), 0)
            << "page " << page;
    }
    TIFF *tif = TIFFOpen((dir / "pages.tif").c_str(), "r");
    ASSERT_NE(tif, nullptr);
    EXPECT_EQ(TIFFNumberOfDirectories(tif), 4);
    ASSERT_TRUE(TIFFSetDirectory(tif, 3));
    uint16_t orientation = 0;
    uint32_t iccLength = 0;
    void *icc = nullptr;
    EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_ORIENTATION, &orientation));
    EXPECT_EQ(orientation, ORIENTATION_BOTRIGHT);
    EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_ICCPROFILE, &iccLength, &icc));
    EXPECT_EQ(iccLength, IccProfile(3).size());
    TIFFClose(tif);
}

TEST(SupportTiff, BilevelAndJpegCodings) {
    TempDir dir;
    TiffPage fax;
    fax.width = 16;
    fax.height = 4;
    fax.bitsPerSample = 1;
    fax.photometric = PHOTOMETRIC_MINISWHITE;
    fax.data = {0xF0, 0x0F, 0x00, 0xFF, 0xAA, 0x55, 0x81, 0x18};
    TiffPage g3 = fax;
    g3.compression = COMPRESSION_CCITTFAX3;
    g3.group3Options = GROUP3OPT_2DENCODING;
    TiffPage g4 = fax;
    g4.compression = COMPRESSION_CCITTFAX4;
    TiffPage jpeg = TiffPageOf(Solid(32, 32, 0x3366CC));
    jpeg.photometric = PHOTOMETRIC_YCBCR;
    jpeg.compression = COMPRESSION_JPEG;
    jpeg.rowsPerStrip = 16;
    WriteTiff(dir / "codings.tif", {g3, g4, jpeg});
    const Picture expected = ReadTiffRgba(dir / "codings.tif", 0);
    ASSERT_EQ(expected.width, 16);
    EXPECT_EQ(expected.At(0, 0, 0), 0) << "MinIsWhite: a set bit is black";
    EXPECT_EQ(expected.At(4, 0, 0), 255);
    EXPECT_EQ(MaxDifference(ReadTiffRgba(dir / "codings.tif", 1), expected), 0);

    // The G4 page's strip copied as it is into a page of its own.
    TIFF *tif = TIFFOpen((dir / "codings.tif").c_str(), "r");
    ASSERT_TRUE(tif && TIFFSetDirectory(tif, 1));
    TiffPage copy = fax;
    copy.compression = COMPRESSION_CCITTFAX4;
    copy.coded = true;
    copy.data.resize(static_cast<std::size_t>(TIFFRawStripSize(tif, 0)));
    TIFFReadRawStrip(tif, 0, copy.data.data(), static_cast<tmsize_t>(copy.data.size()));
    TIFFClose(tif);
    WriteTiff(dir / "copy.tif", {copy});
    EXPECT_EQ(MaxDifference(ReadTiffRgba(dir / "copy.tif"), expected), 0);
    EXPECT_LE(
        MaxDifference(WithoutAlpha(ReadTiffRgba(dir / "codings.tif", 2)), Solid(32, 32, 0x3366CC)),
        3);
}

TEST(SupportPng, EveryColourTypeDecodesToItsPixels) {
    const Picture rgba = Pattern(9, 7, 4);
    for (bool interlaced : {false, true}) {
        PngImage image = PngImageOf(rgba);
        image.interlaced = interlaced;
        image.iccProfile = IccProfile(3);
        const Bytes png = MakePng(image);
        EXPECT_TRUE(Contains(png, {'i', 'C', 'C', 'P'}));
        EXPECT_EQ(MaxDifference(DecodePng(png), rgba), 0) << interlaced;
    }

    PngImage grey16;
    grey16.width = 2;
    grey16.height = 1;
    grey16.colour = PngColour::Grey;
    grey16.bitDepth = 16;
    grey16.data = {0x12, 0x34, 0xAB, 0xCD};
    const Picture grey = DecodePng(MakePng(grey16));
    ASSERT_EQ(grey.width, 2);
    EXPECT_EQ(grey.At(0, 0, 0), 0x12);
    EXPECT_EQ(grey.At(1, 0, 2), 0xAB);

    PngImage palette;
    palette.width = 4;
    palette.height = 1;
    palette.colour = PngColour::Palette;
    palette.bitDepth = 2;
    palette.palette = {0xFF0000, 0x00FF00, 0x0000FF};
    palette.transparency = {0, 128};
    palette.data = {0b00011011};
    const Picture indexed = DecodePng(MakePng(palette));
    ASSERT_EQ(indexed.width, 4);
    EXPECT_EQ(indexed.Rgb(1, 0), 0x00FF00u);
    EXPECT_EQ(indexed.At(0, 0, 3), 0);
    EXPECT_EQ(indexed.At(1, 0, 3), 128);
    EXPECT_EQ(indexed.At(2, 0, 3), 255);

    // A transparent colour and chunks of the caller's own, which libpng must still accept.
    PngImage keyed = PngImageOf(RgbPicture(2, {0x102030, 0x405060}));
    keyed.transparency = {0, 0x40, 0, 0x50, 0, 0x60};
    keyed.chunks = {{"tEXt", {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'x'}}};
    const Bytes withText = MakePng(keyed);
    EXPECT_TRUE(Contains(withText, {'t', 'E', 'X', 't', 'C', 'o', 'm'}));
    const Picture key = DecodePng(withText);
    ASSERT_EQ(key.width, 2);
    EXPECT_EQ(key.At(0, 0, 3), 255);
    EXPECT_EQ(key.At(1, 0, 3), 0);
}

TEST(SupportTiff, ShortStripsClaimTheHeadersSizeAndHoldOnlyTheStripsWritten) {
    TempFile file(TiffWithShortStrips({5000, 4000, 16, 3, 100}));
    TIFF *tif = TIFFOpen(file.Path().c_str(), "r");
    ASSERT_NE(tif, nullptr);
    uint32_t width = 0, height = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    EXPECT_EQ(width, 5000u);
    EXPECT_EQ(height, 4000u);
    ASSERT_EQ(TIFFNumberOfStrips(tif), 250u);
    EXPECT_GT(TIFFGetStrileByteCount(tif, 2), 0u);
    EXPECT_EQ(TIFFGetStrileByteCount(tif, 3), 0u);
    TIFFClose(tif);
}

TEST(SupportFiles, TempDirsAreUniqueAndGoWithEverythingInThem) {
    std::string kept;
    {
        TempDir a;
        TempDir b;
        EXPECT_NE(a.Path(), b.Path());
        std::filesystem::create_directories(a / "locked/inner");
        WriteText(a / "locked/inner/f.txt", "x");
        std::filesystem::permissions(a / "locked", std::filesystem::perms::owner_read |
                                                       std::filesystem::perms::owner_exec);
        kept = a.Path();
    }
    EXPECT_FALSE(std::filesystem::exists(kept));
    EXPECT_THROW(WriteFile("/nonexistent/folder/file", {1}), std::runtime_error);
}

TEST(SupportProcess, KeepsTheExitCodeAndBothStreamsApart) {
    const RunResult run = RunShell("printf out; printf err >&2; exit 3");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, "out");
    EXPECT_EQ(run.err, "err");
    EXPECT_EQ(RunShell("kill -9 $$").exitCode, 128 + 9);
    EXPECT_EQ(RunProgram({"/nonexistent/program"}).exitCode, 127);
    const std::string awkward = "it's \"quoted\" $HOME `x` 扫描";
    EXPECT_EQ(RunShell("printf %s " + Quote(awkward)).out, awkward);
}

// The memory figures the scan probes and the responsive test print rest on this reading: the
// resident field of statm, in KiB rather than pages.
TEST(SupportMemory, ResidentSizeRisesByTheMemoryTouched) {
    const long before = ResidentKiB();
    ASSERT_GT(before, 0);
    constexpr std::size_t kTouched = 64u << 20;
    std::vector<char> block(kTouched);
    std::memset(block.data(), 1, block.size());
    const long rise = ResidentKiB() - before;
    EXPECT_EQ(block[kTouched / 2], 1);
    EXPECT_GE(rise, 48 * 1024);
    EXPECT_LE(rise, 112 * 1024);
}

} // namespace
