// PNG images: compressed data copied unchanged where PDF reads it to the same samples, every
// other kind decoded with libpng, alpha as a soft mask, damaged files refused.
#include <string>

#include <gtest/gtest.h>

#include "pdfw/pdfw.h"
#include "tests/pdfw/PdfwTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Pdf.h"
#include "tests/support/Png.h"

namespace {

using namespace support;
using pdfw_test::Engine;

// The data of every IDAT chunk of `png`, joined: what a copying engine carries.
Bytes imageData(const Bytes &png) {
    Bytes data;
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        std::size_t length =
            std::size_t{png[at]} << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
        if (Text(Bytes(png.begin() + at + 4, png.begin() + at + 8)) == "IDAT") {
            data.insert(data.end(), png.begin() + at + 8, png.begin() + at + 8 + length);
        }
        at += length + 12;
    }
    return data;
}

// libpng's reading as a page shows it: RGB, transparency over white.
Picture onWhite(const Picture &rgba) {
    Picture rgb = Blank(rgba.width, rgba.height, 3);
    for (int y = 0; y < rgba.height; ++y) {
        for (int x = 0; x < rgba.width; ++x) {
            unsigned alpha = rgba.At(x, y, 3);
            for (int c = 0; c < 3; ++c) {
                rgb.At(x, y, c) = static_cast<uint8_t>(
                    (rgba.At(x, y, c) * alpha + 255 * (255 - alpha) + 127) / 255);
            }
        }
    }
    return rgb;
}

// An image whose every packed byte varies; palette indices stay within the palette.
PngImage image(PngColour colour, int bitDepth, int entries = 0, int seed = 0) {
    PngImage png;
    png.width = 21; // rows that end inside a byte at low depths
    png.height = 9;
    png.colour = colour;
    png.bitDepth = bitDepth;
    for (int i = 0; i < entries; ++i) {
        png.palette.push_back(static_cast<uint32_t>(i * 255 / std::max(1, entries - 1)) << 16 |
                              static_cast<uint32_t>(255 - i * 40 % 256) << 8 | (i * 90 % 256));
    }
    png.data.resize(png.RowBytes() * png.height);
    for (std::size_t i = 0; i < png.data.size(); ++i) {
        png.data[i] = static_cast<uint8_t>((i * 37 + seed * 11 + i / 7) & 0xFF);
    }
    if (colour == PngColour::Palette) {
        int perByte = 8 / bitDepth;
        for (std::size_t i = 0; i < png.data.size(); ++i) {
            unsigned packed = 0;
            for (int k = 0; k < perByte; ++k) {
                packed =
                    packed << bitDepth | static_cast<unsigned>((i * perByte + k) * 5 % entries);
            }
            png.data[i] = static_cast<uint8_t>(packed);
        }
    }
    return png;
}

class PngTest : public ::testing::Test {
protected:
    // One page of the picture at one point per pixel; the PDF's path.
    std::string convert(const std::string &name, const Bytes &png, int width, int height,
                        const char *compatibility = "1.4") {
        std::string out = dir / (name + ".pdf");
        WriteFile(dir / (name + ".png"), png);
        EXPECT_TRUE(engine.writeDocument(
            out, {{dir / (name + ".png"), static_cast<float>(width), static_cast<float>(height)}},
            compatibility))
            << engine.lastMessage();
        EXPECT_TRUE(QpdfCheck(out));
        return out;
    }

    TempDir dir;
    Engine engine;
};

TEST_F(PngTest, PlainPicturesKeepTheirImageDataByteForByte) {
    struct Case {
        PngColour colour;
        int bitDepth, entries;
    } cases[] = {{PngColour::Rgb, 8, 0},       {PngColour::Grey, 8, 0},
                 {PngColour::Grey, 1, 0},      {PngColour::Grey, 4, 0},
                 {PngColour::Palette, 8, 200}, {PngColour::Palette, 2, 3},
                 {PngColour::Palette, 4, 16}};
    for (const Case &c : cases) {
        SCOPED_TRACE("colour type " + std::to_string(static_cast<int>(c.colour)) + ", " +
                     std::to_string(c.bitDepth) + " bits");
        Bytes png = MakePng(image(c.colour, c.bitDepth, c.entries));
        std::string out = convert("plain", png, 21, 9);
        EXPECT_TRUE(Contains(ReadFile(out), imageData(png)));
        EXPECT_NE(ReadText(out).find("/Predictor 15/Colors " +
                                     std::string(c.colour == PngColour::Rgb ? "3" : "1") +
                                     "/BitsPerComponent " + std::to_string(c.bitDepth)),
                  std::string::npos);
        EXPECT_EQ(MaxDifference(RenderPage(out), onWhite(DecodePng(png))), 0);
    }
}

TEST_F(PngTest, AColourKeyStaysAColourKey) {
    PngImage rgb;
    rgb.width = 6;
    rgb.height = 3;
    rgb.data = {10, 20, 30, 200, 100, 50, 10, 20, 30, 0,  0,  0,  10, 20, 31, 9,   9,   9,
                1,  2,  3,  10,  20,  30, 4,  5,  6,  7,  8,  9,  10, 20, 30, 255, 255, 255,
                0,  0,  0,  10,  20,  30, 10, 20, 30, 10, 20, 30, 10, 20, 30, 1,   1,   1};
    rgb.transparency = {0, 10, 0, 20, 0, 30};
    Bytes png = MakePng(rgb);
    std::string out = convert("key", png, 6, 3);
    EXPECT_TRUE(Contains(ReadFile(out), imageData(png)));
    EXPECT_NE(ReadText(out).find("/Mask[10 10 20 20 30 30]"), std::string::npos);
    EXPECT_EQ(MaxDifference(RenderPage(out), onWhite(DecodePng(png))), 0);

    // A key the samples cannot hold makes nothing transparent.
    PngImage grey = image(PngColour::Grey, 2);
    grey.chunks = {{"tRNS", {0, 7}}}; // written as is: libpng would refuse it
    Bytes beyond = MakePng(grey);
    std::string kept = convert("beyond", beyond, 21, 9);
    EXPECT_EQ(ReadText(kept).find("/Mask"), std::string::npos);
    EXPECT_EQ(MaxDifference(RenderPage(kept), onWhite(DecodePng(beyond))), 0);
}

TEST_F(PngTest, OtherKindsAreDecodedAsLibpngReadsThem) {
    struct Case {
        const char *name;
        PngColour colour;
        int bitDepth;
        bool interlaced;
        int entries;
        Bytes transparency;
        // 16-bit samples: libpng's reference keeps the high byte where the engine rounds;
        // alpha: the renderer blends in its own rounding.
        int tolerance;
    } cases[] = {
        {"interlaced RGB", PngColour::Rgb, 8, true, 0, {}, 0},
        {"interlaced grey 2-bit", PngColour::Grey, 2, true, 0, {}, 0},
        {"interlaced palette", PngColour::Palette, 4, true, 9, {}, 0},
        {"16-bit RGB", PngColour::Rgb, 16, false, 0, {}, 1},
        {"16-bit grey", PngColour::Grey, 16, false, 0, {}, 1},
        {"RGBA", PngColour::Rgba, 8, false, 0, {}, 1},
        {"grey and alpha, 16-bit", PngColour::GreyAlpha, 16, false, 0, {}, 2},
        {"palette with alpha", PngColour::Palette, 8, false, 12, {0, 128, 255, 30}, 1},
        {"2-bit palette with alpha", PngColour::Palette, 2, false, 4, {255, 0}, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PngImage picture = image(c.colour, c.bitDepth, c.entries, 3);
        picture.interlaced = c.interlaced;
        picture.transparency = c.transparency;
        Bytes png = MakePng(picture);
        std::string out = convert("decoded", png, 21, 9);
        EXPECT_FALSE(Contains(ReadFile(out), imageData(png)));
        EXPECT_LE(MaxDifference(RenderPage(out), onWhite(DecodePng(png))), c.tolerance);
        bool alpha = c.colour == PngColour::Rgba || c.colour == PngColour::GreyAlpha ||
                     !c.transparency.empty();
        EXPECT_EQ(ReadText(out).find("/SMask") != std::string::npos, alpha);
    }
}

TEST_F(PngTest, SixteenBitSamplesStayFromPdf15) {
    Bytes png = MakePng(image(PngColour::Grey, 16));
    std::string out = convert("deep", png, 21, 9, "1.5");
    EXPECT_TRUE(Contains(ReadFile(out), imageData(png)));
    EXPECT_NE(ReadText(out).find("/BitsPerComponent 16"), std::string::npos);
}

TEST_F(PngTest, DamagedFilesAreRefusedWithTheirReason) {
    Bytes png = MakePng(image(PngColour::Rgb, 8));
    Bytes idat = imageData(png);
    std::size_t dataAt = Text(png).find("IDAT") + 4;

    Bytes cut(png.begin(), png.begin() + static_cast<long>(dataAt + idat.size() / 2));
    Bytes badCrc = png;
    badCrc[dataAt + idat.size()] ^= 0x40; // the stored CRC no longer matches the data
    Bytes noHeader = png;
    noHeader[12] = 'X'; // IHDR becomes an unknown chunk
    struct Case {
        const char *name;
        Bytes bytes;
        const char *says;
    } cases[] = {
        {"cut short", cut, "truncated"},
        {"bad CRC", badCrc, "CRC"},
        {"no header", noHeader, "header"},
        {"signature only", Bytes(png.begin(), png.begin() + 8), "header"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Engine probe;
        ASSERT_EQ(pdfw_open_file(probe.ctx(), (dir / "probe.pdf").c_str()), 1);
        WriteFile(dir / "bad.png", c.bytes);
        EXPECT_EQ(pdfw_load_image(probe.ctx(), "png", (dir / "bad.png").c_str(), "", 1), -1);
        EXPECT_EQ(probe.lastType(), PDFW_SYNTAX_ERROR);
        EXPECT_NE(probe.lastMessage().find(c.says), std::string::npos) << probe.lastMessage();
        EXPECT_NE(probe.lastMessage().find("bad.png"), std::string::npos);
    }
}

TEST_F(PngTest, ThePngTypeNameIsAcceptedAndContentDecides) {
    WriteFile(dir / "picture.jpg", MakePng(image(PngColour::Rgb, 8))); // a PNG, whatever its name
    std::string file = dir / "picture.jpg";
    ASSERT_EQ(pdfw_open_file(engine.ctx(), (dir / "types.pdf").c_str()), 1);
    for (const char *type : {"png", "PNG", "auto", "jpeg"}) {
        EXPECT_GE(pdfw_load_image(engine.ctx(), type, file.c_str(), "", 1), 1) << type;
    }
    EXPECT_EQ(pdfw_load_image(engine.ctx(), "png", file.c_str(), "", 2), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
}

} // namespace
