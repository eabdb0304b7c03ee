// folvane-decode, run as a program, and the JSON and PAM writers it is built from.

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/CfImage.h"
#include "tests/image/ImageTestSupport.h"
#include "tests/support/Bmp.h"
#include "tests/support/Exif.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Process.h"
#include "tools/JsonText.h"
#include "tools/PamWriter.h"

namespace {

using namespace support;

// Runs folvane-decode with arguments (already shell-quoted); its exit code and standard output.
RunResult Decode(const std::string &arguments) {
    return RunShell(Quote(std::string(FOLVANE_BIN_DIR) + "/folvane-decode") + " " + arguments);
}

Bytes Garbage() {
    Bytes bytes(64, 0x5A);
    bytes[0] = '?';
    return bytes;
}

TEST(FolvaneDecode, UnknownContentPrintsOneJsonLineAndExitsOne) {
    TempFile input(Garbage());
    const std::string pam = input.Path() + ".pam";
    const RunResult run = Decode(Quote(input.Path()) + " " + Quote(pam));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "{\"ok\":false,\"width\":0,\"height\":0,\"bpp\":0,\"type\":0,\"dpiX\":96,"
                       "\"dpiY\":96,\"frameCount\":0,\"transparentIndex\":-1,\"hasAlpha\":false,"
                       "\"lastError\":\"Decode: Unknown or wrong format\"}\n");
    EXPECT_FALSE(std::filesystem::exists(pam)) << "no picture for a failed load";
}

TEST(FolvaneDecode, OptionsReachTheLoad) {
    TempFile input(Garbage());
    // Hint 16 names no format: detection runs and its message stays.
    RunResult run = Decode("--hint 16 --frame 2 --header-only " + Quote(input.Path()));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("\"lastError\":\"Decode: Unknown or wrong format\""), std::string::npos);
    // A named format that this build cannot decode keeps that pass's message.
    run = Decode("--hint 4 " + Quote(input.Path()));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out.find("Unknown or wrong format"), std::string::npos) << run.out;
}

TEST(FolvaneDecode, MissingInputFailsWithStatusOne) {
    const RunResult run = Decode("/nonexistent/folvane/in.bmp");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("\"ok\":false"), std::string::npos);
}

TEST(FolvaneDecode, UsageErrorsExitTwo) {
    for (const char *arguments :
         {"", "--frame", "--frame x a.bmp", "--hint 99999999999 a.bmp", "--bogus a.bmp", "a b c"}) {
        const RunResult run = Decode(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
    }
}

TEST(JsonText, EscapesControlsQuotesAndInvalidUtf8) {
    using folvane::tools::json::quote;
    EXPECT_EQ(quote("plain"), "\"plain\"");
    EXPECT_EQ(quote("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(quote(std::string("\n\t\x01\x7f", 4)), "\"\\n\\t\\u0001\\u007f\"");
    EXPECT_EQ(quote("生成PDF"), "\"生成PDF\"") << "valid UTF-8 passes through";
    EXPECT_EQ(quote("\xC9\xFA"), "\"\\u00c9\\u00fa\"") << "code page 936 bytes are escaped";
    EXPECT_EQ(quote("\xE4\xB8"), "\"\\u00e4\\u00b8\"") << "a cut sequence";
    EXPECT_EQ(quote("\xC0\xAF"), "\"\\u00c0\\u00af\"") << "an overlong form";
    EXPECT_EQ(quote("\xED\xA0\x80"), "\"\\u00ed\\u00a0\\u0080\"") << "a surrogate";
    EXPECT_EQ(quote(std::string("a\0b", 3)), "\"a\\u0000b\"");
}

TEST(JsonText, FieldsNumbersAndObjects) {
    char field[4] = {'a', 'b', 'c', 'd'}; // no terminating NUL
    EXPECT_EQ(folvane::tools::json::field(field), "abcd");
    EXPECT_EQ(folvane::tools::json::number(0.5f), "0.5");
    EXPECT_EQ(folvane::tools::json::number(1.0f / 0.0f), "null");
    EXPECT_EQ(folvane::tools::json::number(0.0f / 0.0f), "null");
    const float third = 1.0f / 3.0f;
    EXPECT_EQ(std::stof(folvane::tools::json::number(third)), third);
    folvane::tools::json::Object o;
    o.boolean("ok", true).integer("n", -3).null("p").string("s", "x");
    EXPECT_EQ(o.text(), "{\"ok\":true,\"n\":-3,\"p\":null,\"s\":\"x\"}");
    EXPECT_EQ(folvane::tools::json::Object().text(), "{}");
}

// The PAM body of a written image, after the header.
std::string PamBody(const CfImage &image, std::string *header = nullptr) {
    TempDir dir;
    std::string error;
    EXPECT_TRUE(folvane::tools::writePam(image, (dir / "image.pam").c_str(), error)) << error;
    const std::string all = ReadText(dir / "image.pam");
    const size_t end = all.find("ENDHDR\n");
    if (end == std::string::npos) {
        return {};
    }
    if (header) {
        *header = all.substr(0, end + 7);
    }
    return all.substr(end + 7);
}

TEST(PamWriter, WritesTheTopRowFirstAsRgba) {
    CfImage image(2, 2, 24);
    imagetest::SetRawColour(image, 0, 0, 0x010203); // bottom-left
    imagetest::SetRawColour(image, 1, 0, 0x040506);
    imagetest::SetRawColour(image, 0, 1, 0x0A0B0C); // top-left
    imagetest::SetRawColour(image, 1, 1, 0x0D0E0F);
    std::string header;
    const std::string body = PamBody(image, &header);
    EXPECT_EQ(header, "P7\nWIDTH 2\nHEIGHT 2\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n");
    const std::string expected = "\x0A\x0B\x0C\xFF\x0D\x0E\x0F\xFF\x01\x02\x03\xFF\x04\x05\x06\xFF";
    EXPECT_EQ(body, expected);

    ASSERT_TRUE(image.CreateAlphaChannel());
    image.PutAlpha(1, 1, 0x40);
    EXPECT_EQ(uint8_t(PamBody(image)[7]), 0x40);
}

TEST(PamWriter, ExpandsPalettesAndHidesTheTransparentIndex) {
    CfImage image(3, 1, 1);
    image.SetPaletteEntry(0, 255, 0, 0);
    image.SetPaletteEntry(1, 0, 0, 255);
    image.Fill(0);
    imagetest::SetRawIndex(image, 1, 0, 1);
    EXPECT_EQ(PamBody(image), std::string("\xFF\x00\x00\xFF\x00\x00\xFF\xFF\xFF\x00\x00\xFF", 12));
    image.SetTransparentIndex(0);
    EXPECT_EQ(PamBody(image), std::string("\xFF\x00\x00\x00\x00\x00\xFF\xFF\xFF\x00\x00\x00", 12));
}

TEST(PamWriter, RefusesAnImageWithoutPixels) {
    CfImage image;
    image.header.biWidth = 10; // what a header-only decode leaves
    image.header.biHeight = 10;
    std::string error;
    EXPECT_FALSE(folvane::tools::writePam(image, "/nonexistent/never.pam", error));
    EXPECT_NE(error, "");
    CfImage real(1, 1, 8);
    EXPECT_FALSE(folvane::tools::writePam(real, "/nonexistent/folder/out.pam", error));
    EXPECT_NE(error.find("cannot create"), std::string::npos);
}

} // namespace

namespace {

// A grey JPEG of width x height with one APP1 EXIF block naming the camera.
Bytes JpegWithExif(int width, int height, const std::string &make, const std::string &model) {
    ExifBlockBuilder exif(false);
    const int ifd0 = exif.AddDirectory();
    exif.Ascii(ifd0, 0x010F, make);
    exif.Ascii(ifd0, 0x0110, model);
    JpegOptions options;
    options.markers.push_back({JPEG_APP0 + 1, exif.Payload()});
    Picture grey = Blank(width, height, 1);
    std::fill(grey.samples.begin(), grey.samples.end(), 128);
    return MakeJpeg(grey, options);
}

TEST(FolvaneDecodeFiles, PaletteBmpBecomesTopRowFirstRgba) {
    // 2 x 2, 8-bit: bottom row indices 0, 1; top row 2, 0.
    BmpFile bmp;
    bmp.width = bmp.height = 2;
    bmp.bits = 8;
    bmp.ppmX = bmp.ppmY = 3937;
    bmp.palette = {0x102030, 0x405060, 0x708090};
    bmp.colorsUsed = 3;
    bmp.pixels = PackIndexRows({{0, 1}, {2, 0}}, 8); // bottom row first
    TempFile input(MakeBmp(bmp));
    const std::string pam = input.Path() + ".pam";
    const RunResult run = Decode(Quote(input.Path()) + " " + Quote(pam));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.substr(0, run.out.find(",\"lastError\"")),
              "{\"ok\":true,\"width\":2,\"height\":2,\"bpp\":8,\"type\":1,\"dpiX\":100,"
              "\"dpiY\":100,\"frameCount\":0,\"transparentIndex\":-1,\"hasAlpha\":false");
    EXPECT_EQ(run.out.find("\"exif\""), std::string::npos) << "only JPEG results carry EXIF";
    const std::string all = ReadText(pam);
    const std::string header =
        "P7\nWIDTH 2\nHEIGHT 2\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    ASSERT_EQ(all.substr(0, header.size()), header);
    EXPECT_EQ(all.substr(header.size()), std::string("\x70\x80\x90\xFF\x10\x20\x30\xFF"
                                                     "\x10\x20\x30\xFF\x40\x50\x60\xFF",
                                                     16));
}

TEST(FolvaneDecodeFiles, HeaderOnlyReportsTheSizeAndWritesNoPicture) {
    TempFile input(MakeBmp(BmpFileOf(RgbPicture(3, {0xFFFFFF, 0, 0}))));
    const std::string pam = input.Path() + ".pam";
    const RunResult run = Decode("--header-only " + Quote(input.Path()) + " " + Quote(pam));
    EXPECT_NE(run.out.find("\"ok\":true,\"width\":3,\"height\":1"), std::string::npos) << run.out;
    EXPECT_FALSE(std::filesystem::exists(pam));
}

TEST(FolvaneDecodeFiles, JpegCarriesItsExifWithEveryStringEscaped) {
    TempFile input(JpegWithExif(16, 8, "\xC9\xFA\xB3\xC9", "Cam\"era\\1"), "exif.jpg");
    const RunResult run = Decode(Quote(input.Path()));
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("\"type\":3"), std::string::npos);
    EXPECT_NE(run.out.find("\"exif\":{\"version\":"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"cameraMake\":\"\\u00c9\\u00fa\\u00b3\\u00c9\""), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"cameraModel\":\"Cam\\\"era\\\\1\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"width\":16"), std::string::npos);
    EXPECT_NE(run.out.find("\"thumbnailData\":null,\"thumbnailSize\":0,\"isExif\":true}}"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);
}

TEST(FolvaneDecodeFiles, FillBytesBeforeAMarkerPrintNothingButTheJsonLine) {
    Bytes jpeg = JpegWithExif(16, 8, "Make", "Model");
    // Seven more fill bytes before the first marker: the EXIF walk gives up on them, libjpeg
    // reads on. Neither may print anything of its own.
    jpeg.insert(jpeg.begin() + 2, 7, 0xFF);
    TempFile input(jpeg, "pad.jpg");
    const RunResult run = Decode(Quote(input.Path()));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.substr(0, 12), "{\"ok\":true,\"");
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
}

} // namespace
