// folvane-decode, run as a program, and the JSON and PAM writers it is built from.

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <jpeglib.h>

#include "image/CfImage.h"
#include "tests/image/ImageTestSupport.h"
#include "tools/JsonText.h"
#include "tools/PamWriter.h"

namespace {

using imagetest::TempFile;

struct ProgramRun {
    int status = -1;
    std::string out;
};

// Runs folvane-decode with arguments (already shell-quoted), stdout captured, stderr dropped.
ProgramRun Decode(const std::string &arguments) {
    const std::string command =
        std::string("'") + FOLVANE_BIN_DIR + "/folvane-decode' " + arguments + " 2>/dev/null";
    ProgramRun run;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return run;
    }
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.out.append(buffer, n);
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Quoted(const char *path) {
    return std::string("'") + path + "'";
}

std::vector<uint8_t> Garbage() {
    std::vector<uint8_t> bytes(64, 0x5A);
    bytes[0] = '?';
    return bytes;
}

std::string ReadAll(const char *path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(FolvaneDecode, UnknownContentPrintsOneJsonLineAndExitsOne) {
    TempFile input(Garbage());
    TempFile pam({}, "out.pam");
    std::remove(pam.path());
    const ProgramRun run = Decode(Quoted(input.path()) + " " + Quoted(pam.path()));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "{\"ok\":false,\"width\":0,\"height\":0,\"bpp\":0,\"type\":0,\"dpiX\":96,"
                       "\"dpiY\":96,\"frameCount\":0,\"transparentIndex\":-1,\"hasAlpha\":false,"
                       "\"lastError\":\"Decode: Unknown or wrong format\"}\n");
    EXPECT_FALSE(std::ifstream(pam.path()).good()) << "no picture for a failed load";
}

TEST(FolvaneDecode, OptionsReachTheLoad) {
    TempFile input(Garbage());
    // Hint 16 names no format: detection runs and its message stays.
    ProgramRun run = Decode("--hint 16 --frame 2 --header-only " + Quoted(input.path()));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("\"lastError\":\"Decode: Unknown or wrong format\""), std::string::npos);
    // A named format that this build cannot decode keeps that pass's message.
    run = Decode("--hint 4 " + Quoted(input.path()));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out.find("Unknown or wrong format"), std::string::npos) << run.out;
}

TEST(FolvaneDecode, MissingInputFailsWithStatusOne) {
    const ProgramRun run = Decode("/nonexistent/folvane/in.bmp");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("\"ok\":false"), std::string::npos);
}

TEST(FolvaneDecode, UsageErrorsExitTwo) {
    for (const char *arguments :
         {"", "--frame", "--frame x a.bmp", "--hint 99999999999 a.bmp", "--bogus a.bmp", "a b c"}) {
        const ProgramRun run = Decode(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
    }
}

TEST(JsonText, EscapesControlsQuotesAndInvalidUtf8) {
    using jsontext::Quote;
    EXPECT_EQ(Quote("plain"), "\"plain\"");
    EXPECT_EQ(Quote("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(Quote(std::string("\n\t\x01\x7f", 4)), "\"\\n\\t\\u0001\\u007f\"");
    EXPECT_EQ(Quote("生成PDF"), "\"生成PDF\"") << "valid UTF-8 passes through";
    EXPECT_EQ(Quote("\xC9\xFA"), "\"\\u00c9\\u00fa\"") << "code page 936 bytes are escaped";
    EXPECT_EQ(Quote("\xE4\xB8"), "\"\\u00e4\\u00b8\"") << "a cut sequence";
    EXPECT_EQ(Quote("\xC0\xAF"), "\"\\u00c0\\u00af\"") << "an overlong form";
    EXPECT_EQ(Quote("\xED\xA0\x80"), "\"\\u00ed\\u00a0\\u0080\"") << "a surrogate";
    EXPECT_EQ(Quote(std::string("a\0b", 3)), "\"a\\u0000b\"");
}

TEST(JsonText, FieldsNumbersAndObjects) {
    char field[4] = {'a', 'b', 'c', 'd'}; // no terminating NUL
    EXPECT_EQ(jsontext::Field(field), "abcd");
    EXPECT_EQ(jsontext::Number(0.5f), "0.5");
    EXPECT_EQ(jsontext::Number(1.0f / 0.0f), "null");
    EXPECT_EQ(jsontext::Number(0.0f / 0.0f), "null");
    const float third = 1.0f / 3.0f;
    EXPECT_EQ(std::stof(jsontext::Number(third)), third);
    jsontext::Object o;
    o.Bool("ok", true).Int("n", -3).Null("p").String("s", "x");
    EXPECT_EQ(o.Text(), "{\"ok\":true,\"n\":-3,\"p\":null,\"s\":\"x\"}");
    EXPECT_EQ(jsontext::Object().Text(), "{}");
}

// The PAM body of a written image, after the header.
std::string PamBody(const CfImage &image, std::string *header = nullptr) {
    TempFile file({}, "image.pam");
    std::string error;
    EXPECT_TRUE(WritePam(image, file.path(), error)) << error;
    const std::string all = ReadAll(file.path());
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
    EXPECT_FALSE(WritePam(image, "/nonexistent/never.pam", error));
    EXPECT_NE(error, "");
    CfImage real(1, 1, 8);
    EXPECT_FALSE(WritePam(real, "/nonexistent/folder/out.pam", error));
    EXPECT_NE(error.find("cannot create"), std::string::npos);
}

} // namespace

namespace {

// A grey JPEG of width x height with one APP1 EXIF block naming the camera.
std::vector<uint8_t> JpegWithExif(int width, int height, const std::string &make,
                                  const std::string &model) {
    // EXIF block: "Exif\0\0", little-endian TIFF header, IFD0 with Make and Model.
    std::vector<uint8_t> exif = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0};
    auto put = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            exif.push_back(uint8_t(value >> (8 * i)));
        }
    };
    const uint32_t dataStart = 8 + 2 + 2 * 12 + 4;
    put(2, 2);
    put(0x010F, 2), put(2, 2), put(uint32_t(make.size() + 1), 4), put(dataStart, 4);
    put(0x0110, 2), put(2, 2), put(uint32_t(model.size() + 1), 4);
    put(dataStart + uint32_t(make.size() + 1), 4);
    put(0, 4);
    exif.insert(exif.end(), make.begin(), make.end());
    exif.push_back(0);
    exif.insert(exif.end(), model.begin(), model.end());
    exif.push_back(0);

    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 1;
    cinfo.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    jpeg_write_marker(&cinfo, JPEG_APP0 + 1, exif.data(), unsigned(exif.size()));
    std::vector<uint8_t> row(size_t(width), 128);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    free(buffer);
    return out;
}

TEST(FolvaneDecodeFiles, PaletteBmpBecomesTopRowFirstRgba) {
    // 2 x 2, 8-bit: bottom row indices 0, 1; top row 2, 0.
    TempFile input(imagetest::MakeBmp({{0, 1}, {2, 0}}, {0x102030, 0x405060, 0x708090}, 3937));
    TempFile pam({}, "out.pam");
    const ProgramRun run = Decode(Quoted(input.path()) + " " + Quoted(pam.path()));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, run.out.find(",\"lastError\"")),
              "{\"ok\":true,\"width\":2,\"height\":2,\"bpp\":8,\"type\":1,\"dpiX\":100,"
              "\"dpiY\":100,\"frameCount\":0,\"transparentIndex\":-1,\"hasAlpha\":false");
    EXPECT_EQ(run.out.find("\"exif\""), std::string::npos) << "only JPEG results carry EXIF";
    const std::string all = ReadAll(pam.path());
    const std::string header =
        "P7\nWIDTH 2\nHEIGHT 2\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    ASSERT_EQ(all.substr(0, header.size()), header);
    EXPECT_EQ(all.substr(header.size()), std::string("\x70\x80\x90\xFF\x10\x20\x30\xFF"
                                                     "\x10\x20\x30\xFF\x40\x50\x60\xFF",
                                                     16));
}

TEST(FolvaneDecodeFiles, HeaderOnlyReportsTheSizeAndWritesNoPicture) {
    TempFile input(imagetest::MakeBmp({{0xFFFFFF, 0, 0}}));
    TempFile pam({}, "out.pam");
    std::remove(pam.path());
    const ProgramRun run =
        Decode("--header-only " + Quoted(input.path()) + " " + Quoted(pam.path()));
    EXPECT_NE(run.out.find("\"ok\":true,\"width\":3,\"height\":1"), std::string::npos) << run.out;
    EXPECT_FALSE(std::ifstream(pam.path()).good());
}

TEST(FolvaneDecodeFiles, JpegCarriesItsExifWithEveryStringEscaped) {
    TempFile input(JpegWithExif(16, 8, "\xC9\xFA\xB3\xC9", "Cam\"era\\1"), "exif.jpg");
    const ProgramRun run = Decode(Quoted(input.path()));
    EXPECT_EQ(run.status, 0) << run.out;
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
    std::vector<uint8_t> jpeg = JpegWithExif(16, 8, "Make", "Model");
    // Seven more fill bytes before the first marker: the EXIF walk gives up on them, libjpeg
    // reads on. Neither may print anything of its own.
    jpeg.insert(jpeg.begin() + 2, 7, 0xFF);
    TempFile input(jpeg, "pad.jpg");
    const ProgramRun run = Decode(Quoted(input.path()));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, 12), "{\"ok\":true,\"");
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
}

} // namespace
