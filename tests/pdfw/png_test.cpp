// PNG images: compressed data copied unchanged where PDF reads it to the same samples, every
// other kind decoded with libpng, alpha as a soft mask, damaged files refused.
#include <string>

#include <gtest/gtest.h>
#include <png.h>

#include "pdfw/pdfw.h"
#include "tests/pdfw/PdfwTestSupport.h"
#include "tests/pdfw/PngTestSupport.h"

namespace {

using namespace pdfw_test;

std::string text(const Bytes &bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// Rows of a pattern for `spec`: every byte of the packed rows varies.
Bytes rowsFor(const PngSpec &spec, int seed = 0) {
    Bytes rows(static_cast<std::size_t>(pngRowBytes(spec)) * spec.height);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = static_cast<unsigned char>((i * 37 + seed * 11 + i / 7) & 0xFF);
    }
    if (spec.colourType == PNG_COLOR_TYPE_PALETTE) {
        // Indices within the palette.
        int entries = static_cast<int>(spec.palette.size() / 3);
        int perByte = 8 / spec.bitDepth;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            unsigned char packed = 0;
            for (int k = 0; k < perByte; ++k) {
                int index = static_cast<int>((i * perByte + k) * 5 % entries);
                packed = static_cast<unsigned char>(packed << spec.bitDepth | index);
            }
            rows[i] = packed;
        }
    }
    return rows;
}

Bytes palette(int entries) {
    Bytes p;
    for (int i = 0; i < entries; ++i) {
        p.push_back(static_cast<unsigned char>(i * 255 / std::max(1, entries - 1)));
        p.push_back(static_cast<unsigned char>(255 - i * 40));
        p.push_back(static_cast<unsigned char>(i * 90));
    }
    return p;
}

class PngTest : public ::testing::Test {
protected:
    std::string save(const std::string &name, const Bytes &png) {
        writeFile(dir.path(name), png);
        return dir.path(name);
    }
    // One page of the picture at one point per pixel; the PDF's path.
    std::string convert(const std::string &name, const Bytes &png, int width, int height,
                        const char *compatibility = "1.4") {
        std::string out = dir.path(name + ".pdf");
        EXPECT_TRUE(engine.writeDocument(
            out,
            {{save(name + ".png", png), static_cast<float>(width), static_cast<float>(height)}},
            compatibility))
            << engine.lastMessage();
        EXPECT_TRUE(qpdfCheck(out));
        return out;
    }

    ScratchDir dir;
    Engine engine;
};

TEST_F(PngTest, PlainPicturesKeepTheirImageDataByteForByte) {
    struct Case {
        int colourType, bitDepth, entries;
    } cases[] = {{PNG_COLOR_TYPE_RGB, 8, 0},       {PNG_COLOR_TYPE_GRAY, 8, 0},
                 {PNG_COLOR_TYPE_GRAY, 1, 0},      {PNG_COLOR_TYPE_GRAY, 4, 0},
                 {PNG_COLOR_TYPE_PALETTE, 8, 200}, {PNG_COLOR_TYPE_PALETTE, 2, 3},
                 {PNG_COLOR_TYPE_PALETTE, 4, 16}};
    for (const Case &c : cases) {
        SCOPED_TRACE("colour type " + std::to_string(c.colourType) + ", " +
                     std::to_string(c.bitDepth) + " bits");
        PngSpec spec;
        spec.width = 21; // rows that end inside a byte at low depths
        spec.height = 9;
        spec.colourType = c.colourType;
        spec.bitDepth = c.bitDepth;
        spec.palette = palette(c.entries);
        Bytes png = makePng(spec, rowsFor(spec));
        std::string out = convert("plain", png, spec.width, spec.height);
        Bytes idat = pngImageData(png);
        EXPECT_TRUE(contains(readFile(out), idat));
        EXPECT_NE(text(readFile(out))
                      .find("/Predictor 15/Colors " + std::string(c.colourType == 2 ? "3" : "1") +
                            "/BitsPerComponent " + std::to_string(c.bitDepth)),
                  std::string::npos);
        EXPECT_EQ(maxDifference(render(out), readPng(png)), 0);
    }
}

TEST_F(PngTest, AColourKeyStaysAColourKey) {
    PngSpec spec;
    spec.width = 6;
    spec.height = 3;
    Bytes rows = {10, 20, 30, 200, 100, 50, 10, 20, 30, 0,  0,  0,  10, 20, 31, 9,   9,   9,
                  1,  2,  3,  10,  20,  30, 4,  5,  6,  7,  8,  9,  10, 20, 30, 255, 255, 255,
                  0,  0,  0,  10,  20,  30, 10, 20, 30, 10, 20, 30, 10, 20, 30, 1,   1,   1};
    spec.transparency = {0, 10, 0, 20, 0, 30};
    Bytes png = makePng(spec, rows);
    std::string out = convert("key", png, 6, 3);
    EXPECT_TRUE(contains(readFile(out), pngImageData(png)));
    EXPECT_NE(text(readFile(out)).find("/Mask[10 10 20 20 30 30]"), std::string::npos);
    EXPECT_EQ(maxDifference(render(out), readPng(png)), 0); // transparent pixels show white
}

TEST_F(PngTest, OtherKindsAreDecodedAsLibpngReadsThem) {
    struct Case {
        const char *name;
        int colourType, bitDepth;
        bool interlaced;
        int entries;
        Bytes transparency;
        int tolerance; // alpha blending in the renderer rounds its own way
    } cases[] = {
        {"interlaced RGB", PNG_COLOR_TYPE_RGB, 8, true, 0, {}, 0},
        {"interlaced grey 2-bit", PNG_COLOR_TYPE_GRAY, 2, true, 0, {}, 0},
        {"interlaced palette", PNG_COLOR_TYPE_PALETTE, 4, true, 9, {}, 0},
        {"16-bit RGB", PNG_COLOR_TYPE_RGB, 16, false, 0, {}, 0},
        {"16-bit grey", PNG_COLOR_TYPE_GRAY, 16, false, 0, {}, 0},
        {"RGBA", PNG_COLOR_TYPE_RGB_ALPHA, 8, false, 0, {}, 1},
        {"grey and alpha, 16-bit", PNG_COLOR_TYPE_GRAY_ALPHA, 16, false, 0, {}, 1},
        {"palette with alpha", PNG_COLOR_TYPE_PALETTE, 8, false, 12, {0, 128, 255, 30}, 1},
        {"2-bit palette with alpha", PNG_COLOR_TYPE_PALETTE, 2, false, 4, {255, 0}, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PngSpec spec;
        spec.width = 19;
        spec.height = 11;
        spec.colourType = c.colourType;
        spec.bitDepth = c.bitDepth;
        spec.interlaced = c.interlaced;
        spec.palette = palette(c.entries);
        spec.transparency = c.transparency;
        Bytes png = makePng(spec, rowsFor(spec, 3));
        std::string out = convert("decoded", png, spec.width, spec.height);
        EXPECT_FALSE(contains(readFile(out), pngImageData(png)));
        EXPECT_LE(maxDifference(render(out), readPng(png)), c.tolerance);
        bool alpha = c.colourType == PNG_COLOR_TYPE_RGB_ALPHA ||
                     c.colourType == PNG_COLOR_TYPE_GRAY_ALPHA || !c.transparency.empty();
        EXPECT_EQ(text(readFile(out)).find("/SMask") != std::string::npos, alpha);
    }
}

TEST_F(PngTest, SixteenBitSamplesStayFromPdf15) {
    PngSpec spec;
    spec.colourType = PNG_COLOR_TYPE_GRAY;
    spec.bitDepth = 16;
    Bytes png = makePng(spec, rowsFor(spec));
    std::string out = convert("deep", png, spec.width, spec.height, "1.5");
    EXPECT_TRUE(contains(readFile(out), pngImageData(png)));
    EXPECT_NE(text(readFile(out)).find("/BitsPerComponent 16"), std::string::npos);
}

TEST_F(PngTest, DamagedFilesAreRefusedWithTheirReason) {
    PngSpec spec;
    Bytes png = makePng(spec, rowsFor(spec));
    Bytes idat = pngImageData(png);
    std::size_t dataAt = text(png).find("IDAT") + 4;

    Bytes cut(png.begin(), png.begin() + static_cast<long>(dataAt + idat.size() / 2));
    Bytes badCrc = png;
    badCrc[dataAt + idat.size()] ^= 0x40; // the stored CRC no longer matches the data
    Bytes noHeader = png;
    noHeader[12] = 'X'; // IHDR becomes an unknown chunk
    struct Case {
        const char *name;
        Bytes bytes;
        int type;
        const char *says;
    } cases[] = {
        {"cut short", cut, PDFW_SYNTAX_ERROR, "truncated"},
        {"bad CRC", badCrc, PDFW_SYNTAX_ERROR, "CRC"},
        {"no header", noHeader, PDFW_SYNTAX_ERROR, "header"},
        {"signature only", Bytes(png.begin(), png.begin() + 8), PDFW_SYNTAX_ERROR, "header"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Engine probe;
        ASSERT_EQ(pdfw_open_file(probe.ctx(), dir.path("probe.pdf").c_str()), 1);
        std::string file = save("bad.png", c.bytes);
        EXPECT_EQ(pdfw_load_image(probe.ctx(), "png", file.c_str(), "", 1), -1);
        EXPECT_EQ(probe.lastType(), c.type);
        EXPECT_NE(probe.lastMessage().find(c.says), std::string::npos) << probe.lastMessage();
        EXPECT_NE(probe.lastMessage().find("bad.png"), std::string::npos);
    }
}

TEST_F(PngTest, ThePngTypeNameIsAcceptedAndContentDecides) {
    PngSpec spec;
    Bytes png = makePng(spec, rowsFor(spec));
    std::string file = save("picture.jpg", png); // a PNG whatever the name says
    ASSERT_EQ(pdfw_open_file(engine.ctx(), dir.path("types.pdf").c_str()), 1);
    for (const char *type : {"png", "PNG", "auto", "jpeg"}) {
        EXPECT_GE(pdfw_load_image(engine.ctx(), type, file.c_str(), "", 1), 1) << type;
    }
    EXPECT_EQ(pdfw_load_image(engine.ctx(), "png", file.c_str(), "", 2), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
}

} // namespace
