// JPEGs with damaged markers that libjpeg still reads whole are rewritten from their DCT
// coefficients (no decode to pixels) and noted as repaired; files with missing image data stay
// refused with their reason.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdfw/core/PdfwError.h"
#include "pdfw/pdfw.h"
#include "pdfw/pipeline/ImageLoader.h"
#include "tests/pdfw/PdfwTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"

namespace {

using namespace support;
using pdfw_test::Engine;

class JpegRepairTest : public ::testing::Test {
protected:
    // The notes of `jpeg` put on a page of its own size, or "FAILED: <message>".
    std::string convert(const std::string &name, const Bytes &jpeg, int width, int height) {
        std::string file = dir / (name + ".jpg");
        WriteFile(file, jpeg);
        Engine engine;
        if (!engine.writeDocument(dir / (name + ".pdf"), {{file, static_cast<float>(width),
                                                           static_cast<float>(height)}})) {
            return "FAILED: " + engine.firstMessage();
        }
        return pdfw_test::NotesText(folvane::pdfw::prepareImage({file, 1, 4, {}}).notes);
    }

    TempDir dir;
};

TEST_F(JpegRepairTest, DamagedMarkersAreRepairedWithoutLoss) {
    for (bool progressive : {false, true}) {
        JpegOptions options;
        options.progressive = progressive;
        Bytes good = MakeJpeg(Pattern(40, 24, 3, 5), options);
        struct Case {
            const char *name;
            Bytes bytes;
            const char *note;
        } cases[] = {
            {"junk before a marker", InsertBefore(good, 0xC4, {'j', 'u', 'n', 'k', '!'}),
             "repaired: Corrupt JPEG data: 5 extraneous bytes before marker 0xc4"},
            {"stray 0xFF00 in a header", InsertBefore(good, 0xDB, {0xFF, 0x00, 0xFF, 0x00}),
             "repaired: Corrupt JPEG data: 4 extraneous bytes"},
            {"no end marker", Bytes(good.begin(), good.end() - 2),
             "repaired: Premature end of JPEG file"},
        };
        for (const Case &c : cases) {
            if (progressive && std::string(c.name) == "no end marker") {
                continue; // several scans: a missing one cannot be told apart (next test)
            }
            SCOPED_TRACE(std::string(c.name) + (progressive ? ", progressive" : ""));
            std::string notes = convert("fixed", c.bytes, 40, 24);
            EXPECT_NE(notes.find(c.note), std::string::npos) << notes;
            std::string out = dir / "fixed.pdf";
            EXPECT_TRUE(QpdfCheck(out));
            // The same coefficients: libjpeg decodes both files to the same pixels.
            EXPECT_EQ(MaxDifference(RenderPage(out), DecodeJpeg(good, {JCS_RGB}).picture), 0);
            // A progressive original stays progressive (its frame marker is SOF2).
            EXPECT_EQ(ReadText(out).find("\xFF\xC2") != std::string::npos, progressive);
        }
    }
}

TEST_F(JpegRepairTest, MissingImageDataIsStillRefusedWithItsReason) {
    Bytes good = MakeJpeg(Pattern(64, 64, 3, 2));
    Bytes cut(good.begin(), good.begin() + static_cast<long>(good.size() * 2 / 3));
    JpegOptions progressive;
    progressive.progressive = true;
    Bytes scans = MakeJpeg(Pattern(64, 64, 3, 2), progressive);
    Bytes lastScanGone(scans.begin(), scans.begin() + static_cast<long>(scans.size() - 40));
    Bytes noData = InsertBefore(good, 0xDB, {1}); // repairable markers ...
    noData.resize(FindMarker(noData, 0xDA) + 20); // ... but the scan is gone
    for (const Bytes &bytes : {cut, lastScanGone, noData}) {
        std::string result = convert("cut", bytes, 64, 64);
        EXPECT_EQ(result.rfind("FAILED: ", 0), 0u) << result;
        EXPECT_NE(result.find("cut.jpg"), std::string::npos);
        EXPECT_NE(result.find("libjpeg cannot read it whole either"), std::string::npos) << result;
    }
}

TEST_F(JpegRepairTest, TheRepairKeepsOrientationAndAdobeInversion) {
    JpegOptions turned;
    turned.exifOrientation = 6;
    Bytes jpeg = InsertBefore(MakeJpeg(Pattern(32, 16, 3), turned), 0xDB, {0, 0, 0});
    EXPECT_NE(convert("turned", jpeg, 16, 32).find("repaired"), std::string::npos);
    std::vector<std::string> lines = DrawingLines(dir / "turned.pdf");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("q 0 -32 16 0 0 32 cm", 0), 0u) << lines[0]; // turned upright

    Bytes ink = InsertBefore(MakeJpeg(Pattern(32, 24, 4)), 0xDB, {0x12});
    EXPECT_NE(convert("ink", ink, 32, 24).find("repaired"), std::string::npos);
    EXPECT_NE(ReadText(dir / "ink.pdf")
                  .find("/DeviceCMYK/BitsPerComponent 8/Filter/DCTDecode/Decode[1 0 1 0 1 0 1 0]"),
              std::string::npos);
}

} // namespace
