// Bilevel fax pages: clean data passes through unchanged; data PDF readers would read
// differently from libtiff (an empty run, a row past the edge) is written again as Group 4 from
// libtiff's reading; data libtiff itself reads only with warnings is refused.
#include <algorithm>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "pdfw/pdfw.h"
#include "pdfw/pipeline/ImageLoader.h"
#include "tests/pdfw/PdfwTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Pdf.h"
#include "tests/support/Png.h"
#include "tests/support/Process.h"
#include "tests/support/Tiff.h"

namespace {

using namespace support;
using pdfw_test::Engine;

// Bits written as '0' and '1' characters, most significant first, padded with zeros.
Bytes bits(const std::string &text) {
    Bytes out((text.size() + 7) / 8, 0);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '1') {
            out[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
        }
    }
    return out;
}

// A TIFF of one Group 4 page, min-is-white, its strip exactly `coded`.
std::string groupFourTiff(const std::string &path, uint32_t width, uint32_t height,
                          const Bytes &coded) {
    TiffPage page = FaxPage(width, height);
    page.coded = true;
    page.data = coded;
    WriteTiff(path, {page});
    return path;
}

const std::string kEndOfFax = "000000000001000000000001";

class FaxTest : public ::testing::Test {
protected:
    // Renders with poppler and MuPDF; what either printed on its error output.
    std::string readerComplaints(const std::string &pdf) {
        RunResult poppler = RunProgram({"pdftoppm", "-r", "20", pdf, dir / "p"});
        RunResult mupdf = RunProgram({"mutool", "draw", "-q", "-o", dir / "m.png", pdf});
        std::string said = poppler.err + mupdf.err;
        // MuPDF mentions its build's missing colour management on every run.
        std::size_t icc = said.find("warning: ICC support is not available\n");
        if (icc != std::string::npos) {
            said.erase(icc, 39);
        }
        return said;
    }

    TempDir dir;
};

TEST_F(FaxTest, CleanGroupFourDataPassesThroughUnchanged) {
    TiffPage page = FaxPage(64, 40);
    for (std::size_t i = 0; i < page.data.size(); ++i) {
        page.data[i] = static_cast<uint8_t>((i * 29) ^ (i / 8));
    }
    WriteTiff(dir / "scan.tif", {page});
    std::string out = dir / "scan.pdf";
    Engine engine;
    ASSERT_TRUE(engine.writeDocument(out, {{dir / "scan.tif", 64, 40}}));
    EXPECT_NE(ReadText(out).find("/Filter/CCITTFaxDecode/DecodeParms<</K -1/Columns 64"),
              std::string::npos);
    EXPECT_TRUE(folvane::pdfw::prepareImage({dir / "scan.tif", 1, 4, {}, {}}).notes.empty());
    EXPECT_EQ(readerComplaints(out), "");
    EXPECT_EQ(MaxDifference(RenderPage(out), WithoutAlpha(ReadTiffRgba(dir / "scan.tif"))), 0);
}

TEST_F(FaxTest, AnEmptyRunIsWrittenAgainAsLibtiffReadsIt) {
    // Three blank rows, then a row whose last pixel turns black and back to white on the same
    // column (vertical mode V0 to b1 = 7, then VL1 onto it), as one commercial coder ends rows.
    Bytes coded = bits("1"
                       "1"
                       "0011111010"
                       "1"
                       "010"
                       "1" +
                       kEndOfFax);
    std::string file = groupFourTiff(dir / "edge.tif", 8, 4, coded);
    std::string out = dir / "edge.pdf";
    Engine engine;
    ASSERT_TRUE(engine.writeDocument(out, {{file, 8, 4}})) << engine.firstMessage();
    EXPECT_TRUE(QpdfCheck(out));
    EXPECT_FALSE(Contains(ReadFile(out), coded));
    std::string notes =
        pdfw_test::NotesText(folvane::pdfw::prepareImage({file, 1, 4, {}, {}}).notes);
    EXPECT_NE(notes.find("fax data re-encoded: row 4 has an empty run at column 7"),
              std::string::npos)
        << notes;
    EXPECT_EQ(readerComplaints(out), "");
    EXPECT_EQ(MaxDifference(RenderPage(out), WithoutAlpha(ReadTiffRgba(file))), 0);
}

TEST_F(FaxTest, DataLibtiffReadsOnlyWithWarningsIsRefused) {
    // The fourth row's runs, 7 white and 3 black, end past the 8 columns.
    Bytes coded = bits("1"
                       "1"
                       "1"
                       "001"
                       "1111"
                       "10" +
                       kEndOfFax);
    std::string file = groupFourTiff(dir / "long.tif", 8, 4, coded);
    Engine engine;
    ASSERT_EQ(pdfw_open_file(engine.ctx(), (dir / "long.pdf").c_str()), 1);
    EXPECT_EQ(pdfw_load_image(engine.ctx(), "tiff", file.c_str(), "", 1), -1);
    EXPECT_EQ(engine.lastType(), PDFW_SYNTAX_ERROR);
    EXPECT_NE(engine.lastMessage().find(
                  "long.tif\" is not a well-formed TIFF: libtiff cannot read its fax "
                  "data whole"),
              std::string::npos)
        << engine.lastMessage();
}

// A PGM file's picture (grey, 8 bits); empty when it is not one.
Picture readPgm(const std::string &path) {
    std::string text = ReadText(path);
    int width = 0, height = 0, top = 0, used = 0;
    Picture p;
    if (std::sscanf(text.c_str(), "P5 %d %d %d%n", &width, &height, &top, &used) != 3 ||
        text.size() < static_cast<std::size_t>(used) + 1 + std::size_t(width) * height) {
        return p;
    }
    p = Blank(width, height, 1);
    std::copy_n(text.begin() + used + 1, p.samples.size(), p.samples.begin());
    return p;
}

Picture grey(const Picture &rgba) {
    Picture g = Blank(rgba.width, rgba.height, 1);
    for (int y = 0; y < rgba.height; ++y) {
        for (int x = 0; x < rgba.width; ++x) {
            g.At(x, y, 0) = rgba.At(x, y, 0);
        }
    }
    return g;
}

// libtiff's own test scan, coded by a commercial scanning library: clean for libtiff, a blank
// page in poppler and a garbled one in MuPDF when its data is passed through.
TEST_F(FaxTest, LibtiffsTestScanReadsTheSameInEveryReader) {
    const std::string scan = "../shared/corpus/tiff/libtiff/testfax4.tiff";
    std::string path;
    for (const char *up : {"", "../", "../../", "../../../", "../../../../"}) {
        if (!ReadFile(up + scan).empty()) {
            path = up + scan;
            break;
        }
    }
    if (path.empty()) {
        GTEST_SKIP() << "the shared corpus is not beside the checkout";
    }
    std::string out = dir / "testfax4.pdf";
    Engine engine;
    ASSERT_TRUE(engine.writeDocument(out, {{path, 2453, 3369}})) << engine.firstMessage();
    EXPECT_EQ(readerComplaints(out), "");
    Picture libtiff = grey(ReadTiffRgba(path));
    // poppler's decode of the image, and MuPDF's page at one pixel per point.
    RunProgram({"pdfimages", "-png", out, dir / "img"});
    EXPECT_EQ(MaxDifference(grey(DecodePng(ReadFile(dir / "img-000.png"))), libtiff), 0);
    RunProgram({"mutool", "draw", "-q", "-r", "72", "-c", "gray", "-o", dir / "page.pgm", out});
    EXPECT_EQ(MaxDifference(readPgm(dir / "page.pgm"), libtiff), 0);
}

} // namespace
