// Every page of a multi-page TIFF, on every path (fax data copied, JPEG strips joined, decoded),
// each upright by its own orientation tag.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdfw/pdfw.h"
#include "tests/pdfw/PdfwTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Pdf.h"
#include "tests/support/Tiff.h"

namespace {

using namespace support;
using pdfw_test::Engine;

TEST(TiffPagesTest, EveryPageGoesInByItsOwnPathAndOrientation) {
    TempDir dir;
    TiffPage fax = FaxPage(40, 24);
    for (std::size_t i = 0; i < fax.data.size(); i += 3) {
        fax.data[i] = 0x3C;
    }
    TiffPage photo = TiffPageOf(Pattern(32, 16, 3));
    photo.compression = COMPRESSION_JPEG;
    photo.rowsPerStrip = 8;
    photo.orientation = 6;
    TiffPage scan = TiffPageOf(Pattern(24, 20, 3, 4));
    scan.compression = COMPRESSION_LZW;
    scan.orientation = 3;
    std::string file = dir / "three.tif";
    WriteTiff(file, {fax, photo, scan});

    Engine engine;
    std::string out = dir / "three.pdf";
    ASSERT_EQ(pdfw_open_file(engine.ctx(), out.c_str()), 1);
    const float sizes[3][2] = {{40, 24}, {16, 32}, {24, 20}}; // upright
    for (int page = 1; page <= 3; ++page) {
        pdfw_begin_page(engine.ctx(), sizes[page - 1][0], sizes[page - 1][1]);
        int image = pdfw_load_image(engine.ctx(), "tiff", file.c_str(), "", page);
        ASSERT_GE(image, 1) << engine.lastMessage();
        pdfw_place_image(engine.ctx(), image, 0, 0, 1);
        pdfw_close_image(engine.ctx(), image);
        pdfw_end_page(engine.ctx());
    }
    ASSERT_EQ(pdfw_close(engine.ctx()), 0) << engine.lastMessage();
    EXPECT_TRUE(QpdfCheck(out));
    EXPECT_EQ(PageCount(out), 3);
    std::vector<PdfImage> images = ListImages(out);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[0].filter, "CCITTFaxDecode");
    EXPECT_EQ(images[1].filter, "DCTDecode");
    EXPECT_EQ(images[2].filter, "FlateDecode");

    EXPECT_EQ(MaxDifference(RenderPage(out, 1), WithoutAlpha(ReadTiffRgba(file, 0))), 0);
    std::vector<std::string> lines = DrawingLines(out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].rfind("q 0 -32 16 0 0 32 cm", 0), 0u) << lines[1]; // a quarter turn
    // libtiff's RGBA reader turns the picture upright itself (orientations 1 to 4).
    EXPECT_EQ(MaxDifference(RenderPage(out, 3), WithoutAlpha(ReadTiffRgba(file, 2))), 0);
}

TEST(TiffPagesTest, APageBeyondTheLastIsRefusedNamingIt) {
    TempDir dir;
    std::string file = dir / "two.tif";
    WriteTiff(file, {TiffPageOf(Pattern(8, 8, 1)), TiffPageOf(Pattern(8, 8, 3))});
    Engine engine;
    ASSERT_EQ(pdfw_open_file(engine.ctx(), (dir / "two.pdf").c_str()), 1);
    EXPECT_GE(pdfw_load_image(engine.ctx(), "tiff", file.c_str(), "", 2), 1);
    EXPECT_EQ(pdfw_load_image(engine.ctx(), "tiff", file.c_str(), "", 3), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
    EXPECT_NE(engine.lastMessage().find("has no page 3"), std::string::npos);
}

// A page whose one strip is stored shorter than its rows: libtiff would read on into the next
// page's directory and pixels. The page is refused, named, and never filled from elsewhere.
TEST(TiffPagesTest, APageNeverBorrowsAnotherPagesBytes) {
    TempDir dir;
    std::vector<TiffPage> pages;
    for (int i = 0; i < 3; ++i) {
        pages.push_back(TiffPageOf(Pattern(200, 100, 1, i + 1)));
    }
    pages[1].coded = true; // its strip as it is: 500 bytes
    pages[1].data.resize(500);
    std::string file = dir / "three.tif";
    WriteTiff(file, pages);
    std::string single = dir / "one.tif";
    WriteTiff(single, {pages[1]});

    Engine engine;
    ASSERT_EQ(pdfw_open_file(engine.ctx(), (dir / "three.pdf").c_str()), 1);
    EXPECT_GE(pdfw_load_image(engine.ctx(), "tiff", file.c_str(), "", 1), 1);
    EXPECT_GE(pdfw_load_image(engine.ctx(), "tiff", file.c_str(), "", 3), 1);
    EXPECT_EQ(pdfw_load_image(engine.ctx(), "tiff", file.c_str(), "", 2), -1);
    EXPECT_EQ(engine.lastType(), PDFW_SYNTAX_ERROR);
    EXPECT_NE(engine.lastMessage().find(
                  "its strip holds 500 bytes, fewer than its 200 x 100 pixels need (20000)"),
              std::string::npos)
        << engine.lastMessage();
    pdfw_problem problem{};
    pdfw_get_last_problem(engine.ctx(), &problem);
    EXPECT_EQ(problem.page, 2);
    EXPECT_EQ(pdfw_load_image(engine.ctx(), "tiff", single.c_str(), "", 1), -1);
    EXPECT_NE(engine.lastMessage().find("its strip holds 500 bytes"), std::string::npos)
        << engine.lastMessage();

    // The pre-flight says the same before anything is written.
    pdfw_image_facts facts{};
    ASSERT_EQ(pdfw_inspect_image(file.c_str(), 2, "1.4", &facts), 0);
    EXPECT_EQ(facts.ok, 0);
    EXPECT_EQ(facts.problem, PDFW_PROBLEM_DAMAGED);
    EXPECT_NE(std::string(facts.reason).find("its strip holds 500 bytes"), std::string::npos)
        << facts.reason;
}

// Reasons of the engine's own, not libtiff's: a directory without entries is not a failed
// allocation, and a page that cannot be read is named without libtiff's "no row yet" number.
TEST(TiffPagesTest, UnreadablePagesAreRefusedWithAReasonOfOurOwn) {
    TempDir dir;
    std::string empty = dir / "empty.tif";
    WriteFile(empty, EmptyDirectoryTiff());
    Engine engine;
    ASSERT_EQ(pdfw_open_file(engine.ctx(), (dir / "out.pdf").c_str()), 1);
    EXPECT_EQ(pdfw_load_image(engine.ctx(), "tiff", empty.c_str(), "", 1), -1);
    EXPECT_EQ(engine.lastType(), PDFW_SYNTAX_ERROR);
    EXPECT_NE(engine.lastMessage().find("first directory has no entries"), std::string::npos)
        << engine.lastMessage();
    EXPECT_EQ(engine.lastMessage().find("allocate"), std::string::npos) << engine.lastMessage();

    // Two pages, the second's strip cut off by the end of the file.
    std::string cut = dir / "cut.tif";
    WriteFile(cut, TiffSecondStripCut(10000));
    EXPECT_EQ(pdfw_load_image(engine.ctx(), "tiff", cut.c_str(), "", 2), -1);
    EXPECT_NE(engine.lastMessage().find("cannot decode strip"), std::string::npos)
        << engine.lastMessage();
    pdfw_problem cutProblem{};
    pdfw_get_last_problem(engine.ctx(), &cutProblem);
    EXPECT_EQ(cutProblem.page, 2);
    EXPECT_EQ(engine.lastMessage().find("4294967295"), std::string::npos) << engine.lastMessage();
}

} // namespace
