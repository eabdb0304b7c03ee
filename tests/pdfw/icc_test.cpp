// Embedded ICC profiles: JPEG APP2 segments joined in order, the TIFF tag, the PNG chunk; one
// ICCBased stream per distinct profile in a document; unsound profiles fall back to device
// colour with a note; the image data stays as it was.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdfw/pdfw.h"
#include "pdfw/pipeline/ImageLoader.h"
#include "tests/pdfw/PdfwTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Icc.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"
#include "tests/support/Png.h"
#include "tests/support/Tiff.h"

namespace {

using namespace support;
using pdfw_test::Engine;

// Real profiles as cameras and editors embed them: sRGB in version 2 (Debian's
// icc-profiles-free) and in version 4 (colord-data).
const char *const kSrgbPath = "/usr/share/color/icc/sRGB.icc";
const char *const kSrgb4Path = "/usr/share/color/icc/colord/sRGB.icc";

uint32_t be32(const Bytes &b, std::size_t at) {
    return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

// The test RGB profile with the primaries of Display P3 (adapted to D50), as phones embed it.
Bytes displayP3() {
    Bytes profile = IccProfile(3, "Display P3 (test)");
    const struct {
        const char *tag;
        double xyz[3];
    } primaries[] = {{"rXYZ", {0.515121, 0.241196, -0.001053}},
                     {"gXYZ", {0.291977, 0.692245, 0.041885}},
                     {"bXYZ", {0.157104, 0.066574, 0.784073}}};
    uint32_t tags = be32(profile, 128);
    for (uint32_t i = 0; i < tags; ++i) {
        std::size_t entry = 132 + 12 * i;
        for (const auto &p : primaries) {
            if (Text(Bytes(profile.begin() + entry, profile.begin() + entry + 4)) == p.tag) {
                std::size_t at = be32(profile, entry + 4) + 8;
                for (double v : p.xyz) {
                    auto fixed = static_cast<uint32_t>(static_cast<int32_t>(v * 65536 + 0.5));
                    Bytes four;
                    PutBe32(four, fixed);
                    std::copy(four.begin(), four.end(), profile.begin() + at);
                    at += 4;
                }
            }
        }
    }
    return profile;
}

// One page per image file at one point per pixel; the notes of each image.
std::vector<std::string> convert(const std::string &out, const std::vector<std::string> &files,
                                 int width, int height) {
    Engine engine;
    std::vector<std::string> notes;
    EXPECT_EQ(pdfw_open_file(engine.ctx(), out.c_str()), 1);
    for (const std::string &file : files) {
        pdfw_begin_page(engine.ctx(), static_cast<float>(width), static_cast<float>(height));
        int image = pdfw_load_image(engine.ctx(), "auto", file.c_str(), "", 1);
        EXPECT_GE(image, 1) << engine.lastMessage();
        notes.push_back(
            pdfw_test::NotesText(folvane::pdfw::prepareImage({file, 1, 4, {}, {}}).notes));
        pdfw_place_image(engine.ctx(), image, 0, 0, 1);
        pdfw_close_image(engine.ctx(), image);
        pdfw_end_page(engine.ctx());
    }
    EXPECT_EQ(pdfw_close(engine.ctx()), 0) << engine.lastMessage();
    EXPECT_TRUE(QpdfCheck(out));
    return notes;
}

// The decoded data of every ICCBased stream in the PDF, with its dictionary.
struct ProfileStream {
    std::string dictionary;
    Bytes data;
};
std::vector<ProfileStream> profileStreams(const std::string &pdf) {
    std::vector<ProfileStream> found;
    std::string text = ReadText(pdf);
    for (std::size_t at = 0; (at = text.find("/Alternate", at)) != std::string::npos; ++at) {
        std::size_t dictStart = text.rfind("<<", at);
        std::size_t length = text.find("/Length ", at);
        std::size_t stream = text.find(">>\nstream\n", at);
        ProfileStream s;
        s.dictionary = text.substr(dictStart, stream + 2 - dictStart);
        std::size_t bytes = std::stoul(text.substr(length + 8));
        s.data.assign(text.begin() + static_cast<long>(stream + 10),
                      text.begin() + static_cast<long>(stream + 10 + bytes));
        found.push_back(s);
    }
    return found;
}

class IccTest : public ::testing::Test {
protected:
    std::string save(const std::string &name, const Bytes &bytes) {
        WriteFile(dir / name, bytes);
        return dir / name;
    }

    TempDir dir;
};

TEST_F(IccTest, JpegProfilesInOneOrSeveralSegmentsGoInWithTheirExactBytes) {
    Bytes srgb = ReadFile(kSrgbPath);
    ASSERT_GT(srgb.size(), 128u) << kSrgbPath << " (Debian's icc-profiles-free) is missing";
    for (int segments : {1, 3}) {
        SCOPED_TRACE(std::to_string(segments) + " segments");
        JpegOptions options;
        options.iccProfile = srgb;
        options.iccSegments = segments;
        Bytes jpeg = MakeJpeg(Pattern(32, 24, 3), options);
        std::string out = dir / "photo.pdf";
        std::vector<std::string> notes = convert(out, {save("photo.jpg", jpeg)}, 32, 24);
        EXPECT_EQ(notes[0], "");
        std::vector<ProfileStream> streams = profileStreams(out);
        ASSERT_EQ(streams.size(), 1u);
        EXPECT_EQ(streams[0].data, srgb);
        EXPECT_NE(streams[0].dictionary.find("/N 3/"), std::string::npos);
        EXPECT_NE(streams[0].dictionary.find("/Alternate/DeviceRGB"), std::string::npos);
        EXPECT_TRUE(Contains(ReadFile(out), jpeg)); // the JPEG itself byte for byte
        EXPECT_NE(Qdf(out).find("/ColorSpace [\n    /ICCBased"), std::string::npos);
    }
}

TEST_F(IccTest, TiffTagAndPngChunkProfilesAndGreyProfiles) {
    Bytes rgb = ReadFile(kSrgbPath);
    Bytes grey = IccProfile(1);
    TiffPage page = TiffPageOf(Pattern(16, 8, 3));
    page.compression = COMPRESSION_LZW;
    page.iccProfile = rgb;
    WriteTiff(dir / "scan.tif", {page});
    PngImage png = PngImageOf(Pattern(16, 8, 1));
    png.iccProfile = grey;
    JpegOptions greyJpeg;
    greyJpeg.iccProfile = grey;

    std::string out = dir / "mixed.pdf";
    std::vector<std::string> notes =
        convert(out,
                {dir / "scan.tif", save("grey.png", MakePng(png)),
                 save("grey.jpg", MakeJpeg(Pattern(16, 8, 1), greyJpeg))},
                16, 8);
    EXPECT_EQ(notes, std::vector<std::string>(3, ""));
    std::vector<ProfileStream> streams = profileStreams(out);
    ASSERT_EQ(streams.size(), 2u); // the grey profile once for the PNG and the JPEG
    EXPECT_EQ(streams[0].data, rgb);
    EXPECT_EQ(streams[1].data, grey);
    EXPECT_NE(streams[1].dictionary.find("/N 1/"), std::string::npos);
    EXPECT_NE(streams[1].dictionary.find("/Alternate/DeviceGray"), std::string::npos);
}

TEST_F(IccTest, UnsoundProfilesFallBackToDeviceColourWithANote) {
    Bytes rgb = ReadFile(kSrgbPath);
    Bytes cut(rgb.begin(), rgb.end() - 100);
    Bytes lab = rgb;
    std::copy_n("Lab ", 4, lab.begin() + 16);
    JpegOptions onlySecond;
    Bytes segment = {'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0, 2, 3};
    segment.insert(segment.end(), rgb.begin(), rgb.begin() + 200);
    onlySecond.markers = {{0xE2, segment}};
    struct Case {
        const char *name;
        Bytes profile;
        int components;
        JpegOptions options;
        const char *note;
    } cases[] = {
        {"RGB profile on a grey JPEG",
         rgb,
         1,
         {},
         "it describes 3-component colour but the image has 1"},
        {"cut short", cut, 3, {}, "its header gives"},
        {"Lab", lab, 3, {}, "its colour space 'Lab ' is not grey, RGB or CMYK"},
        {"a segment missing", {}, 3, onlySecond, "it has 1 of its 3 segments"},
    };
    for (Case &c : cases) {
        SCOPED_TRACE(c.name);
        c.options.iccProfile = c.profile;
        std::string out = dir / "fallback.pdf";
        std::vector<std::string> notes = convert(
            out, {save("odd.jpg", MakeJpeg(Pattern(16, 8, c.components), c.options))}, 16, 8);
        EXPECT_NE(notes[0].find(std::string("colour profile ignored: ") + c.note),
                  std::string::npos)
            << notes[0];
        EXPECT_TRUE(profileStreams(out).empty());
        EXPECT_NE(ReadText(out).find(c.components == 1 ? "/ColorSpace/DeviceGray"
                                                       : "/ColorSpace/DeviceRGB"),
                  std::string::npos);
    }
}

TEST_F(IccTest, FiftyPagesSharingAProfileHoldItOnce) {
    JpegOptions options;
    options.iccProfile = ReadFile(kSrgbPath);
    std::vector<std::string> files;
    for (int i = 0; i < 50; ++i) {
        files.push_back(
            save("p" + std::to_string(i) + ".jpg", MakeJpeg(Pattern(8, 8, 3, i), options)));
    }
    std::string out = dir / "fifty.pdf";
    convert(out, files, 8, 8);
    EXPECT_EQ(PageCount(out), 50);
    EXPECT_EQ(profileStreams(out).size(), 1u);
}

TEST_F(IccTest, AVersion4ProfileGoesInWithANote) {
    Bytes v4 = ReadFile(kSrgb4Path);
    ASSERT_GT(v4.size(), 128u) << kSrgb4Path << " (Debian's colord-data) is missing";
    JpegOptions options;
    options.iccProfile = v4;
    std::string out = dir / "v4.pdf";
    std::vector<std::string> notes =
        convert(out, {save("v4.jpg", MakeJpeg(Pattern(16, 8, 3), options))}, 16, 8);
    EXPECT_NE(notes[0].find("ICC version 4"), std::string::npos) << notes[0];
    ASSERT_EQ(profileStreams(out).size(), 1u);
    EXPECT_EQ(profileStreams(out)[0].data, v4);
}

TEST_F(IccTest, AnAdobeCmykJpegKeepsItsDecodeArray) {
    JpegOptions options;
    options.iccProfile = IccProfile(3); // the wrong kind: falls back, Decode stays
    std::string out = dir / "ink.pdf";
    convert(out, {save("ink.jpg", MakeJpeg(Pattern(16, 8, 4), options))}, 16, 8);
    EXPECT_NE(ReadText(out).find("/DeviceCMYK/BitsPerComponent 8/Filter/DCTDecode"
                                 "/Decode[1 0 1 0 1 0 1 0]"),
              std::string::npos);
}

TEST_F(IccTest, ADisplayP3PhotoRendersMoreSaturatedThanDeviceRgb) {
    JpegOptions p3;
    p3.iccProfile = displayP3();
    p3.quality = 100;
    Picture muted = Solid(16, 16, 0xB45A50);
    std::string withProfile = dir / "p3.pdf", without = dir / "device.pdf";
    convert(withProfile, {save("p3.jpg", MakeJpeg(muted, p3))}, 16, 16);
    convert(without, {save("device.jpg", MakeJpeg(muted))}, 16, 16);
    ASSERT_EQ(profileStreams(withProfile).size(), 1u);
    Picture managed = RenderPage(withProfile), plain = RenderPage(without);
    ASSERT_EQ(managed.width, 16);
    // Display P3's red is deeper than sRGB's: the same numbers show a redder, less grey colour.
    int redGain = managed.At(8, 8, 0) - plain.At(8, 8, 0);
    int greenLoss = plain.At(8, 8, 1) - managed.At(8, 8, 1);
    EXPECT_GE(redGain, 8) << std::hex << managed.Rgb(8, 8) << " vs " << plain.Rgb(8, 8);
    EXPECT_GE(greenLoss, 4) << std::hex << managed.Rgb(8, 8) << " vs " << plain.Rgb(8, 8);
}

} // namespace
