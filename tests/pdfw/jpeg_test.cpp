// JPEG images: embedded byte for byte, the right colour space and decode, upright by EXIF,
// arithmetic coding converted without loss, damaged files refused with a clear message.
#include <algorithm>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "pdfw/pdfw.h"
#include "tests/pdfw/PdfwTestSupport.h"
#include "tests/support/Exif.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"

namespace {

using namespace support;
using pdfw_test::Engine;

class JpegTest : public ::testing::Test {
protected:
    std::string save(const std::string &name, const Bytes &jpeg) {
        WriteFile(dir / name, jpeg);
        return dir / name;
    }
    // Loads `file` alone; the error type, 0 when it loaded.
    int loadError(const std::string &file) {
        Engine probe;
        pdfw_open_file(probe.ctx(), (dir / "probe.pdf").c_str());
        int handle = pdfw_load_image(probe.ctx(), "jpeg", file.c_str(), "", 1);
        message = probe.lastMessage();
        return handle >= 1 ? 0 : probe.lastType();
    }

    TempDir dir;
    Engine engine;
    std::string message;
};

TEST_F(JpegTest, BaselineRgbIsEmbeddedByteForByte) {
    Bytes jpeg = MakeJpeg(Pattern(32, 24, 3));
    std::string out = dir / "rgb.pdf";
    ASSERT_TRUE(engine.writeDocument(out, {{save("a.jpg", jpeg), 32, 24}}));
    EXPECT_TRUE(QpdfCheck(out));
    std::string pdf = ReadText(out);
    EXPECT_NE(pdf.find("/Width 32/Height 24/ColorSpace/DeviceRGB/BitsPerComponent 8"
                       "/Filter/DCTDecode/Length " +
                       std::to_string(jpeg.size()) + ">>\nstream\n" + Text(jpeg) + "\nendstream"),
              std::string::npos);
    EXPECT_LE(MaxDifference(RenderPage(out), DecodeJpeg(jpeg, {JCS_RGB}).picture), 2);
}

TEST_F(JpegTest, GreyProgressiveAndTrailingDataAreCarried) {
    JpegOptions progressive;
    progressive.progressive = true;
    Bytes jpeg = MakeJpeg(Pattern(32, 24, 1), progressive);
    Bytes padded = jpeg;
    padded.insert(padded.end(), 10000, 0); // trailing padding is left out
    std::string out = dir / "grey.pdf";
    ASSERT_TRUE(engine.writeDocument(out, {{save("g.jpg", padded), 32, 24}}));
    EXPECT_TRUE(QpdfCheck(out));
    std::string pdf = ReadText(out);
    EXPECT_NE(pdf.find("/ColorSpace/DeviceGray"), std::string::npos);
    EXPECT_NE(pdf.find("/Length " + std::to_string(jpeg.size()) + ">>\nstream\n" + Text(jpeg) +
                       "\nendstream"),
              std::string::npos);
    EXPECT_LE(MaxDifference(RenderPage(out), DecodeJpeg(jpeg, {JCS_RGB}).picture), 2);
}

TEST_F(JpegTest, AnAppendedPreviewPictureIsLeftOut) {
    JpegOptions spec;
    spec.multiPicture = true;
    Bytes jpeg = MakeJpeg(Pattern(32, 24, 3), spec);
    Bytes file = jpeg;
    Bytes preview = MakeJpeg(Pattern(32, 24, 3, 5));
    file.insert(file.end(), preview.begin(), preview.end());
    std::string out = dir / "mpf.pdf";
    // The type names a TIFF: the content decides.
    ASSERT_EQ(pdfw_open_file(engine.ctx(), out.c_str()), 1);
    pdfw_begin_page(engine.ctx(), 32, 24);
    int image = pdfw_load_image(engine.ctx(), "tiff", save("m.jpg", file).c_str(), "", 1);
    pdfw_place_image(engine.ctx(), image, 0, 0, 1);
    pdfw_end_page(engine.ctx());
    ASSERT_EQ(pdfw_close(engine.ctx()), 0);
    EXPECT_NE(ReadText(out).find("/Length " + std::to_string(jpeg.size()) + ">>\nstream\n" +
                                 Text(jpeg) + "\nendstream"),
              std::string::npos);
    EXPECT_LE(MaxDifference(RenderPage(out), DecodeJpeg(jpeg, {JCS_RGB}).picture), 2);
}

TEST_F(JpegTest, AdobeCmykIsInvertedBackToTheRightColours) {
    // Four bands: cyan, magenta, yellow, black, stored inverted as Adobe's programs do.
    const unsigned char inks[4][4] = {
        {255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}, {0, 0, 0, 255}};
    // Each ink takes away its own primary; black takes all three. (poppler's conversion to
    // RGB is not the naive one, hence the loose bounds.)
    const bool dark[4][3] = {
        {true, false, false}, {false, true, false}, {false, false, true}, {true, true, true}};
    Picture bands = Blank(64, 16, 4);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 64; ++x) {
            for (int c = 0; c < 4; ++c) {
                bands.At(x, y, c) = static_cast<unsigned char>(255 - inks[x / 16][c]);
            }
        }
    }
    std::string out = dir / "cmyk.pdf";
    ASSERT_TRUE(engine.writeDocument(out, {{save("c.jpg", MakeJpeg(bands)), 64, 16}}));
    EXPECT_TRUE(QpdfCheck(out));
    EXPECT_NE(ReadText(out).find("/DeviceCMYK/BitsPerComponent 8/Filter/DCTDecode"
                                 "/Decode[1 0 1 0 1 0 1 0]"),
              std::string::npos);
    Picture page = RenderPage(out);
    ASSERT_EQ(page.width, 64);
    for (int band = 0; band < 4; ++band) {
        for (int c = 0; c < 3; ++c) {
            int value = page.At(band * 16 + 8, 8, c);
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
    JpegOptions spec;
    spec.exifOrientation = 6;
    Picture halves = Blank(32, 16, 1);
    for (int y = 0; y < 16; ++y) {
        for (int x = 16; x < 32; ++x) {
            halves.At(x, y, 0) = 255;
        }
    }
    std::string out = dir / "exif.pdf";
    ASSERT_TRUE(engine.writeDocument(out, {{save("e.jpg", MakeJpeg(halves, spec)), 16, 32}}));
    ASSERT_EQ(DrawingLines(out), std::vector<std::string>{"q 0 -32 16 0 0 32 cm /Im3 Do Q"});
    Picture page = RenderPage(out);
    ASSERT_EQ(page.width, 16);
    ASSERT_EQ(page.height, 32);
    EXPECT_LT(page.At(8, 4, 0), 30);
    EXPECT_GT(page.At(8, 28, 0), 225);
}

TEST_F(JpegTest, ExifHeaderPointingInsideItselfIsTurnedAsThePreviewTurnsIt) {
    // A first-directory offset of 0 means the directory right after the header; the preview
    // reads it that way, so the page must too rather than stay unturned.
    ExifBlockBuilder exif(false);
    exif.Short(exif.AddDirectory(), 0x0112, 6);
    exif.FirstOffset(0);
    JpegOptions spec;
    spec.markers = {{0xE1, exif.Payload()}};
    std::string out = dir / "offset0.pdf";
    ASSERT_TRUE(
        engine.writeDocument(out, {{save("o.jpg", MakeJpeg(Blank(32, 16, 1), spec)), 16, 32}}));
    EXPECT_EQ(DrawingLines(out), std::vector<std::string>{"q 0 -32 16 0 0 32 cm /Im3 Do Q"});
}

TEST_F(JpegTest, ArithmeticCodingIsConvertedWithoutLoss) {
    JpegOptions spec;
    spec.arithmetic = true;
    Bytes jpeg = MakeJpeg(Pattern(32, 24, 3, 1), spec);
    std::string out = dir / "arith.pdf";
    ASSERT_TRUE(engine.writeDocument(out, {{save("r.jpg", jpeg), 32, 24}}));
    EXPECT_TRUE(QpdfCheck(out));
    EXPECT_FALSE(Contains(ReadFile(out), jpeg));
    EXPECT_EQ(MaxDifference(RenderPage(out), DecodeJpeg(jpeg, {JCS_RGB}).picture), 0);
}

TEST_F(JpegTest, DamagedOrUncarriableFilesAreRefused) {
    Bytes good = MakeJpeg(Pattern(32, 24, 3));
    const std::size_t sof = FindMarker(good, 0xC0);
    ASSERT_NE(sof, std::string::npos);

    const std::size_t scan = FindMarker(good, 0xDA);
    Bytes truncated(good.begin(), good.begin() + static_cast<long>((scan + good.size()) / 2));
    EXPECT_EQ(loadError(save("t.jpg", truncated)), PDFW_SYNTAX_ERROR);
    EXPECT_NE(message.find("t.jpg"), std::string::npos);
    EXPECT_NE(message.find("end-of-image"), std::string::npos) << message;

    Bytes headerOnly(good.begin(), good.begin() + static_cast<long>(sof + 6));
    EXPECT_EQ(loadError(save("h.jpg", headerOnly)), PDFW_SYNTAX_ERROR);
    EXPECT_NE(message.find("truncated"), std::string::npos);

    Bytes longSegment = good;
    longSegment[sof + 2] = 0x7F; // frame header length far past the end
    EXPECT_EQ(loadError(save("l.jpg", longSegment)), PDFW_SYNTAX_ERROR);
    // The file ends in its end-of-image marker: the length is damaged, nothing is cut short.
    EXPECT_NE(message.find("damaged marker segment"), std::string::npos) << message;
    EXPECT_EQ(message.find("truncated"), std::string::npos) << message;
    longSegment.resize(longSegment.size() - 2);
    EXPECT_EQ(loadError(save("lt.jpg", longSegment)), PDFW_SYNTAX_ERROR);
    EXPECT_NE(message.find("truncated inside a marker segment"), std::string::npos) << message;

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
        JpegOptions flat;
        flat.quality = 1;
        flat.progressive = progressive;
        Picture grey = Blank(1024, 1024, 1);
        std::fill(grey.samples.begin(), grey.samples.end(), 128);
        EXPECT_EQ(loadError(save("flat.jpg", MakeJpeg(grey, flat))), 0) << message;
    }

    // A few hundred bytes claiming 60000 x 60000 pixels.
    Bytes huge = MakeJpeg(Pattern(32, 24, 3));
    SetFrameSize(huge, 60000, 60000);
    EXPECT_EQ(loadError(save("huge.jpg", huge)), PDFW_SYNTAX_ERROR);
    EXPECT_NE(message.find("too little image data for 60000 x 60000 pixels"), std::string::npos)
        << message;
}

// No JPEG decoder reads a side beyond 65500 pixels, though the header can state 65535.
TEST_F(JpegTest, SidesBeyondWhatDecodersReadAreRefused) {
    const Bytes small = MakeJpeg(Pattern(64, 64, 3));
    for (auto [width, height] : {std::pair{65535, 16}, {65535, 1}, {1, 65535}, {65535, 65535}}) {
        Bytes wide = small;
        SetFrameSize(wide, width, height);
        EXPECT_EQ(loadError(save("wide.jpg", wide)), PDFW_OVERFLOW_ERROR);
        EXPECT_NE(message.find(std::to_string(width) + " x " + std::to_string(height) +
                               " pixels, more than JPEG decoders read (at most 65500"),
                  std::string::npos)
            << message;
    }
}

// Small files are decoded as far as their coefficients before they are copied; files with
// restart markers have those counted against the frame size whatever their size.
TEST_F(JpegTest, ImageDataThatDoNotMatchTheHeaderAreRefused) {
    const Bytes small = MakeJpeg(Pattern(64, 64, 3));
    for (auto [width, height] : {std::pair{65500, 1}, {128, 64}, {64, 72}}) {
        Bytes lying = small;
        SetFrameSize(lying, width, height);
        EXPECT_EQ(loadError(save("lying.jpg", lying)), PDFW_SYNTAX_ERROR);
        EXPECT_NE(message.find("do not hold the " + std::to_string(width) + " x " +
                               std::to_string(height) + " pixels"),
                  std::string::npos)
            << message;
    }

    const Bytes photo = MakeJpeg(Pattern(320, 240, 3, 7));
    ASSERT_LT(photo.size(), 64u << 10);
    EXPECT_EQ(loadError(save("photo.jpg", photo)), 0) << message;
    EXPECT_EQ(loadError(save("flipped.jpg", FlipScanBits(photo, 20))), PDFW_SYNTAX_ERROR);
    EXPECT_NE(message.find("flipped.jpg"), std::string::npos) << message;
    EXPECT_NE(message.find("do not hold"), std::string::npos) << message;

    JpegOptions restarts;
    restarts.restartRows = 1;
    for (bool progressive : {false, true}) {
        restarts.progressive = progressive;
        Bytes marked = MakeJpeg(Pattern(64, 64, 3), restarts);
        EXPECT_EQ(loadError(save("marked.jpg", marked)), 0) << message;
        SetFrameSize(marked, 64, 96);
        EXPECT_EQ(loadError(save("marked.jpg", marked)), PDFW_SYNTAX_ERROR);
        if (!progressive) {
            EXPECT_NE(message.find("3 restart markers where 64 x 96 pixels need 5"),
                      std::string::npos)
                << message;
        }
    }
}

} // namespace
