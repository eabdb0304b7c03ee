// Page generation's calls into the engine, seen through the stand-in engine's log.

#include "pdf/PageGeneration.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/PdfWriter.h"
#include "tests/pdf_standin/engine/StandInEngine.h"

namespace {

using Lines = std::vector<std::string>;

class PageGenerationTest : public ::testing::Test {
protected:
    void SetUp() override { standin::Reset(); }
    void TearDown() override { EXPECT_EQ(standin::LiveContexts(), 0); }
};

TEST(ScaleForImageType, FollowsTheResolutionClasses) {
    EXPECT_EQ(folvane::ScaleForImageType(0), 0.525f);
    EXPECT_EQ(folvane::ScaleForImageType(1), 0.42f);
    EXPECT_EQ(folvane::ScaleForImageType(2), 0.331f);
    EXPECT_EQ(folvane::ScaleForImageType(3), 0.264f);
    EXPECT_EQ(folvane::ScaleForImageType(4), 0.2358f);
    EXPECT_EQ(folvane::ScaleForImageType(5), 0.1871f);
    EXPECT_EQ(folvane::ScaleForImageType(6), 0.1871f);
    EXPECT_EQ(folvane::ScaleForImageType(-1), 0.1871f);
}

TEST(ImageTypeForPath, TestsTheFourSubstringsInOrder) {
    EXPECT_STREQ(folvane::ImageTypeForPath("/scans/p1.jpg"), "jpeg");
    EXPECT_STREQ(folvane::ImageTypeForPath("/scans/P1.JPG"), "jpeg");
    EXPECT_STREQ(folvane::ImageTypeForPath("/scans/p1.tif"), "tiff");
    EXPECT_STREQ(folvane::ImageTypeForPath("/scans/p1.tiff"), "tiff");
    EXPECT_STREQ(folvane::ImageTypeForPath("/scans/P1.TIFF"), "tiff");
    // Anywhere in the path, and ".jpg" wins over ".tif".
    EXPECT_STREQ(folvane::ImageTypeForPath("/scans/a.jpg/p1.tif"), "jpeg");
    EXPECT_STREQ(folvane::ImageTypeForPath("/scans/a.tif/p1.png"), "tiff");
    // Case-sensitive: the engine decides these by content.
    EXPECT_STREQ(folvane::ImageTypeForPath("/scans/p1.Jpg"), "auto");
    EXPECT_STREQ(folvane::ImageTypeForPath("/scans/p1.jpeg"), "auto");
    EXPECT_STREQ(folvane::ImageTypeForPath("/scans/p1.Tif"), "auto");
    EXPECT_STREQ(folvane::ImageTypeForPath("/scans/p1.png"), "auto");
    EXPECT_STREQ(folvane::ImageTypeForPath(""), "auto");
    // An occurrence at the very first character does not count.
    EXPECT_STREQ(folvane::ImageTypeForPath(".jpg"), "auto");
    EXPECT_STREQ(folvane::ImageTypeForPath(".jpg/p1.tif"), "tiff");
    EXPECT_STREQ(folvane::ImageTypeForPath("x.jpg"), "jpeg");
}

TEST_F(PageGenerationTest, DrivesTheEngineInOrderAndClosesBeforeTheCallerIsTold) {
    std::vector<std::string> images = {"/p/one.JPG", "/p/two.tiff", "/p/three.bmp"};
    std::vector<size_t> pages;
    folvane::GeneratePdf(
        "/out/doc.pdf", images, 5, [] { standin::Note("after close"); },
        [&](size_t index) {
            pages.push_back(index);
            standin::Note("page " + std::to_string(index));
        });
    const std::string scale = standin::Number(0.1871f);
    Lines expected = {"boot", "new", "set_parameter binding=C++", "set_parameter compatibility=1.4",
                      "open_file /out/doc.pdf"};
    for (size_t i = 0; i < images.size(); ++i) {
        const char *type = i == 0 ? "jpeg" : i == 1 ? "tiff" : "auto";
        Lines page = {"page " + std::to_string(i),
                      "begin_page 595 842",
                      "begin_page done",
                      std::string("load_image ") + type + " " + images[i] + " [] 1",
                      "place_image 7 0 0 " + scale,
                      "close_image 7",
                      "end_page"};
        expected.insert(expected.end(), page.begin(), page.end());
    }
    Lines end = {"close", "after close", "delete", "delete done", "shutdown"};
    expected.insert(expected.end(), end.begin(), end.end());
    EXPECT_EQ(standin::Log(), expected);
    EXPECT_EQ(pages, (std::vector<size_t>{0, 1, 2}));
}

TEST_F(PageGenerationTest, DefaultClassPlacesAtPointFortyTwo) {
    folvane::GeneratePdf("/out/doc.pdf", {"/p/a.jpg"}, 1);
    const Lines &log = standin::Log();
    EXPECT_NE(std::find(log.begin(), log.end(), "place_image 7 0 0 " + standin::Number(0.42f)),
              log.end());
}

TEST_F(PageGenerationTest, OpenFailureThrowsTheTextAndReleasesTheWriter) {
    standin::SetOpenResult(-1);
    bool told = false;
    try {
        folvane::GeneratePdf("/no/such/dir/doc.pdf", {"/p/a.jpg"}, 1, [&] { told = true; });
        FAIL() << "no exception";
    } catch (const char *text) {
        EXPECT_STREQ(text, "打开文件出错!");
    }
    EXPECT_FALSE(told);
    Lines tail(standin::Log().end() - 4, standin::Log().end());
    EXPECT_EQ(tail, (Lines{"open_file /no/such/dir/doc.pdf", "delete", "delete done", "shutdown"}));
}

TEST_F(PageGenerationTest, EngineErrorStopsTheRunWithoutClosing) {
    standin::FailNext("load_image", 2, "cannot read /p/b.jpg", 1);
    bool told = false;
    EXPECT_THROW(folvane::GeneratePdf("/out/doc.pdf", {"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"}, 1,
                                      [&] { told = true; }),
                 PdfWriter::IOException);
    EXPECT_FALSE(told);
    const Lines &log = standin::Log();
    EXPECT_EQ(std::find(log.begin(), log.end(), "close"), log.end());
    EXPECT_EQ(std::count(log.begin(), log.end(), "begin_page 595 842"), 2);
    Lines tail(log.end() - 4, log.end());
    EXPECT_EQ(tail, (Lines{"load_image jpeg /p/b.jpg [] 1", "delete", "delete done", "shutdown"}));
}

TEST_F(PageGenerationTest, LongPathsReachTheEngineWhole) {
    std::string dir = "/" + std::string(300, 'd');
    std::string image = dir + "/" + std::string(200, 'i') + ".jpg";
    folvane::GeneratePdf(dir + "/out.pdf", {image}, 1);
    const Lines &log = standin::Log();
    EXPECT_NE(std::find(log.begin(), log.end(), "open_file " + dir + "/out.pdf"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "load_image jpeg " + image + " [] 1"), log.end());
}

} // namespace
