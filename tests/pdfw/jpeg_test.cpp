// JPEG images: embedded byte for byte, the right colour space and decode, upright by EXIF,
// arithmetic coding converted without loss, damaged files refused with a clear message.
#include <string>

#include <gtest/gtest.h>

#include "pdfw/pdfw.h"
#include "tests/pdfw/PdfwTestSupport.h"

namespace {

using namespace pdfw_test;

std::string text(const Bytes &bytes) {
    return std::string(bytes.begin(), bytes.end());
}

class JpegTest : public ::testing::Test {
protected:
    std::string save(const std::string &name, const Bytes &jpeg) {
        writeFile(dir.path(name), jpeg);
        return dir.path(name);
    }
    // Loads `file` alone; the error type, 0 when it loaded.
    int loadError(const std::string &file) {
        Engine probe;
        pdfw_open_file(probe.ctx(), dir.path("probe.pdf").c_str());
        int handle = pdfw_load_image(probe.ctx(), "jpeg", file.c_str(), "", 1);
        message = probe.lastMessage();
        return handle >= 1 ? 0 : probe.lastType();
    }

    ScratchDir dir;
    Engine engine;
    std::string message;
};

TEST_F(JpegTest, BaselineRgbIsEmbeddedByteForByte) {
    Bytes jpeg = makeJpeg(JpegSpec{}, pattern(32, 24, 3));
    std::string out = dir.path("rgb.pdf");
    ASSERT_TRUE(engine.writeDocument(out, {{save("a.jpg", jpeg), 32, 24}}));
    EXPECT_TRUE(qpdfCheck(out));
    std::string pdf = text(readFile(out));
    EXPECT_NE(pdf.find("/Width 32/Height 24/ColorSpace/DeviceRGB/BitsPerComponent 8"
                       "/Filter/DCTDecode/Length " +
                       std::to_string(jpeg.size()) + ">>\nstream\n" + text(jpeg) + "\nendstream"),
              std::string::npos);
    EXPECT_LE(maxDifference(render(out), decodeJpeg(jpeg)), 2);
}

TEST_F(JpegTest, GreyProgressiveAndTrailingDataAreCarried) {
    JpegSpec grey;
    grey.components = 1;
    grey.progressive = true;
    Bytes jpeg = makeJpeg(grey, pattern(32, 24, 1));
    Bytes padded = jpeg;
    padded.insert(padded.end(), 10000, 0); // trailing padding is left out
    std::string out = dir.path("grey.pdf");
    ASSERT_TRUE(engine.writeDocument(out, {{save("g.jpg", padded), 32, 24}}));
    EXPECT_TRUE(qpdfCheck(out));
    std::string pdf = text(readFile(out));
    EXPECT_NE(pdf.find("/ColorSpace/DeviceGray"), std::string::npos);
    EXPECT_NE(pdf.find("/Length " + std::to_string(jpeg.size()) + ">>\nstream\n" + text(jpeg) +
                       "\nendstream"),
              std::string::npos);
    EXPECT_LE(maxDifference(render(out), decodeJpeg(jpeg)), 2);
}

TEST_F(JpegTest, AnAppendedPreviewPictureIsLeftOut) {
    JpegSpec spec;
    spec.multiPicture = true;
    Bytes jpeg = makeJpeg(spec, pattern(32, 24, 3));
    Bytes file = jpeg;
    Bytes preview = makeJpeg(JpegSpec{}, pattern(32, 24, 3, 5));
    file.insert(file.end(), preview.begin(), preview.end());
    std::string out = dir.path("mpf.pdf");
    // The type names a TIFF: the content decides.
    ASSERT_EQ(pdfw_open_file(engine.ctx(), out.c_str()), 1);
    pdfw_begin_page(engine.ctx(), 32, 24);
    int image = pdfw_load_image(engine.ctx(), "tiff", save("m.jpg", file).c_str(), "", 1);
    pdfw_place_image(engine.ctx(), image, 0, 0, 1);
    pdfw_end_page(engine.ctx());
    ASSERT_EQ(pdfw_close(engine.ctx()), 0);
    EXPECT_NE(text(readFile(out))
                  .find("/Length " + std::to_string(jpeg.size()) + ">>\nstream\n" + text(jpeg) +
                        "\nendstream"),
              std::string::npos);
    EXPECT_LE(maxDifference(render(out), decodeJpeg(jpeg)), 2);
}

TEST_F(JpegTest, AdobeCmykIsInvertedBackToTheRightColours) {
    // Four bands: cyan, magenta, yellow, black, stored inverted as Adobe's programs do.
    const unsigned char inks[4][4] = {
        {255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}, {0, 0, 0, 255}};
    // Each ink takes away its own primary; black takes all three. (poppler's conversion to
    // RGB is not the naive one, hence the loose bounds.)
    const bool dark[4][3] = {
        {true, false, false}, {false, true, false}, {false, false, true}, {true, true, true}};
    JpegSpec spec;
    spec.width = 64;
    spec.height = 16;
    spec.components = 4;
    Bytes samples;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 64; ++x) {
            for (int c = 0; c < 4; ++c) {
                samples.push_back(static_cast<unsigned char>(255 - inks[x / 16][c]));
            }
        }
    }
    std::string out = dir.path("cmyk.pdf");
    ASSERT_TRUE(engine.writeDocument(out, {{save("c.jpg", makeJpeg(spec, samples)), 64, 16}}));
    EXPECT_TRUE(qpdfCheck(out));
    EXPECT_NE(text(readFile(out))
                  .find("/DeviceCMYK/BitsPerComponent 8/Filter/DCTDecode"
                        "/Decode[1 0 1 0 1 0 1 0]"),
              std::string::npos);
    Rgb page = render(out);
    ASSERT_EQ(page.width, 64);
    for (int band = 0; band < 4; ++band) {
        for (int c = 0; c < 3; ++c) {
            int value = page.at(band * 16 + 8, 8, c);
            if (dark[band][c]) {
                EXPECT_LT(value, 70) << "band " << band << " channel " << c;
            } else {
                EXPECT_GT(value, 120) << "band " << band << " channel " << c;
            }
        }
    }
}

TEST_F(JpegTest, ExifOrientationSixIsShownUpright) {
    // Stored 32 x 16: left half black, right half white. Shown turned a quarter clockwise,
    // 16 wide and 32 tall: the black half on top.
    JpegSpec spec;
    spec.width = 32;
    spec.height = 16;
    spec.components = 1;
    spec.exifOrientation = 6;
    Bytes samples(32 * 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            samples[y * 32 + x] = x < 16 ? 0 : 255;
        }
    }
    std::string out = dir.path("exif.pdf");
    ASSERT_TRUE(engine.writeDocument(out, {{save("e.jpg", makeJpeg(spec, samples)), 16, 32}}));
    ASSERT_EQ(drawingLines(out), std::vector<std::string>{"q 0 -32 16 0 0 32 cm /Im3 Do Q"});
    Rgb page = render(out);
    ASSERT_EQ(page.width, 16);
    ASSERT_EQ(page.height, 32);
    EXPECT_LT(page.at(8, 4, 0), 30);
    EXPECT_GT(page.at(8, 28, 0), 225);
}

TEST_F(JpegTest, ArithmeticCodingIsConvertedWithoutLoss) {
    JpegSpec spec;
    spec.arithmetic = true;
    Bytes jpeg = makeJpeg(spec, pattern(32, 24, 3, 1));
    std::string out = dir.path("arith.pdf");
    ASSERT_TRUE(engine.writeDocument(out, {{save("r.jpg", jpeg), 32, 24}}));
    EXPECT_TRUE(qpdfCheck(out));
    EXPECT_FALSE(contains(readFile(out), jpeg));
    EXPECT_EQ(maxDifference(render(out), decodeJpeg(jpeg)), 0);
}

TEST_F(JpegTest, DamagedOrUncarriableFilesAreRefused) {
    Bytes good = makeJpeg(JpegSpec{}, pattern(32, 24, 3));
    std::size_t sof = 2;
    while (!(good[sof] == 0xFF && good[sof + 1] == 0xC0)) {
        ++sof;
    }

    Bytes truncated(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
    EXPECT_EQ(loadError(save("t.jpg", truncated)), PDFW_SYNTAX_ERROR);
    EXPECT_NE(message.find("t.jpg"), std::string::npos);
    EXPECT_NE(message.find("end-of-image"), std::string::npos);

    Bytes headerOnly(good.begin(), good.begin() + static_cast<long>(sof + 6));
    EXPECT_EQ(loadError(save("h.jpg", headerOnly)), PDFW_SYNTAX_ERROR);
    EXPECT_NE(message.find("truncated"), std::string::npos);

    Bytes longSegment = good;
    longSegment[sof + 2] = 0x7F; // frame header length far past the end
    EXPECT_EQ(loadError(save("l.jpg", longSegment)), PDFW_SYNTAX_ERROR);

    Bytes twelveBit = good;
    twelveBit[sof + 4] = 12;
    EXPECT_EQ(loadError(save("12.jpg", twelveBit)), PDFW_TYPE_ERROR);
    EXPECT_NE(message.find("12-bit"), std::string::npos);

    Bytes lossless = good;
    lossless[sof + 1] = 0xC3;
    EXPECT_EQ(loadError(save("ll.jpg", lossless)), PDFW_TYPE_ERROR);
    EXPECT_NE(message.find("lossless"), std::string::npos);

    Bytes noHeight = good;
    noHeight[sof + 5] = 0;
    noHeight[sof + 6] = 0;
    EXPECT_EQ(loadError(save("dnl.jpg", noHeight)), PDFW_TYPE_ERROR);

    Bytes junk = good;
    junk[sof] = 0x12; // no marker where one must be
    EXPECT_EQ(loadError(save("j.jpg", junk)), PDFW_SYNTAX_ERROR);
    EXPECT_NE(message.find("no marker"), std::string::npos);
}

TEST_F(JpegTest, AFrameHeaderClaimingMorePixelsThanTheDataHoldsIsRefused) {
    // Flat grey spends the least data a Huffman JPEG can: still far above the bound.
    for (bool progressive : {false, true}) {
        JpegSpec flat;
        flat.width = flat.height = 1024;
        flat.components = 1;
        flat.quality = 1;
        flat.progressive = progressive;
        const Bytes grey(std::size_t{1024} * 1024, 128);
        EXPECT_EQ(loadError(save("flat.jpg", makeJpeg(flat, grey))), 0) << message;
    }

    // A few hundred bytes claiming 60000 x 60000 pixels.
    Bytes huge = makeJpeg(JpegSpec{}, pattern(32, 24, 3));
    std::size_t sof = 2;
    while (!(huge[sof] == 0xFF && huge[sof + 1] == 0xC0)) {
        ++sof;
    }
    huge[sof + 5] = huge[sof + 7] = 60000 >> 8;
    huge[sof + 6] = huge[sof + 8] = 60000 & 0xFF;
    EXPECT_EQ(loadError(save("huge.jpg", huge)), PDFW_SYNTAX_ERROR);
    EXPECT_NE(message.find("too little image data for 60000 x 60000 pixels"), std::string::npos)
        << message;
}

} // namespace
