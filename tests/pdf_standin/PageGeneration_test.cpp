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
using folvane::GenerateOptions;
using folvane::PageLayout;

class PageGenerationTest : public ::testing::Test {
protected:
    void SetUp() override { standin::Reset(); }
    void TearDown() override { EXPECT_EQ(standin::LiveContexts(), 0); }
};

GenerateOptions Options(PageLayout layout) {
    GenerateOptions options;
    options.layout = layout;
    return options;
}

bool Logged(const std::string &line) {
    const Lines &log = standin::Log();
    return std::find(log.begin(), log.end(), line) != log.end();
}

TEST(ScaleForImageType, FollowsTheResolutionClasses) {
    EXPECT_EQ(folvane::scaleForImageType(0), 0.525f);
    EXPECT_EQ(folvane::scaleForImageType(1), 0.42f);
    EXPECT_EQ(folvane::scaleForImageType(2), 0.331f);
    EXPECT_EQ(folvane::scaleForImageType(3), 0.264f);
    EXPECT_EQ(folvane::scaleForImageType(4), 0.2358f);
    EXPECT_EQ(folvane::scaleForImageType(5), 0.1871f);
    EXPECT_EQ(folvane::scaleForImageType(6), 0.1871f);
    EXPECT_EQ(folvane::scaleForImageType(-1), 0.1871f);
}

TEST_F(PageGenerationTest, AClassDrivesTheEngineInTheGenerateCommandsOrder) {
    std::vector<std::string> images = {"/p/one.JPG", "/p/two.tiff", "/p/three.bmp"};
    folvane::GenerateEvents events;
    events.onPage = [](const folvane::PageStart &start) {
        standin::Note("page " + std::to_string(start.index) + "/" + std::to_string(start.total));
    };
    events.afterClose = [] { standin::Note("after close"); };
    folvane::generatePdf("/out/doc.pdf", images, Options(PageLayout::ofClass(5)), events);

    const std::string scale = standin::Number(0.1871f);
    Lines expected = {"boot", "new", "set_parameter binding=C++", "set_parameter compatibility=1.4",
                      "open_file /out/doc.pdf"};
    auto type = [](size_t i) { return i == 0 ? "jpeg" : i == 1 ? "tiff" : "auto"; };
    // Every file's pages are counted once and each page announced first, for the engine to
    // prepare ahead.
    for (size_t i = 0; i < images.size(); ++i) {
        expected.push_back("count_pages " + images[i]);
        expected.push_back(std::string("queue_image ") + type(i) + " " + images[i] + " [] 1");
    }
    for (size_t i = 0; i < images.size(); ++i) {
        Lines page = {"page " + std::to_string(i) + "/3",
                      "begin_page 595 842",
                      "begin_page done",
                      std::string("load_image ") + type(i) + " " + images[i] + " [] 1",
                      "get_image_size 7",
                      "place_image 7 0 0 " + scale,
                      "get_image_note_count 7",
                      "close_image 7",
                      "end_page"};
        expected.insert(expected.end(), page.begin(), page.end());
    }
    Lines end = {"close", "after close", "delete", "delete done", "shutdown"};
    expected.insert(expected.end(), end.begin(), end.end());
    EXPECT_EQ(standin::Log(), expected);
}

TEST_F(PageGenerationTest, FitLoadsFirstThenBeginsAPageTurnedLikeTheImage) {
    standin::SetImageSize(1684, 842);
    folvane::generatePdf("/out/doc.pdf", {"/p/wide.jpg"}, Options(PageLayout::fitted()));
    // 1684 x 842 fits 842 x 595 at 0.5: 842 x 421, centred 87 points up.
    Lines expected = {"load_image jpeg /p/wide.jpg [] 1",
                      "get_image_size 7",
                      "begin_page 842 595",
                      "begin_page done",
                      "place_image 7 0 87 0.5",
                      "get_image_note_count 7",
                      "close_image 7",
                      "end_page",
                      "close"};
    const Lines &log = standin::Log();
    auto first = std::find(log.begin(), log.end(), expected.front());
    ASSERT_NE(first, log.end());
    EXPECT_EQ(Lines(first, first + static_cast<long>(expected.size())), expected);
}

TEST_F(PageGenerationTest, EveryPageOfAFileUnlessOnlyTheFirstIsWanted) {
    standin::SetPages("/p/scan.tif", 3);
    std::vector<std::string> pages;
    folvane::GenerateEvents events;
    events.onPage = [&](const folvane::PageStart &start) {
        pages.push_back(start.path + " " + std::to_string(start.filePage) + "/" +
                        std::to_string(start.filePages));
    };
    folvane::generatePdf("/out/doc.pdf", {"/p/a.jpg", "/p/scan.tif"},
                         Options(PageLayout::ofClass(1)), events);
    EXPECT_EQ(pages, (std::vector<std::string>{"/p/a.jpg 1/1", "/p/scan.tif 1/3", "/p/scan.tif 2/3",
                                               "/p/scan.tif 3/3"}));
    for (int page = 1; page <= 3; ++page) {
        EXPECT_TRUE(Logged("queue_image tiff /p/scan.tif [] " + std::to_string(page)));
        EXPECT_TRUE(Logged("load_image tiff /p/scan.tif [] " + std::to_string(page)));
    }
    const Lines &counted = standin::Log();
    EXPECT_EQ(std::count(counted.begin(), counted.end(), "count_pages /p/scan.tif"), 1);

    standin::Reset();
    standin::SetPages("/p/scan.tif", 3);
    GenerateOptions firstOnly = Options(PageLayout::ofClass(1));
    firstOnly.firstPageOnly = true;
    folvane::generatePdf("/out/doc.pdf", {"/p/scan.tif"}, firstOnly);
    const Lines &log = standin::Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "end_page"), 1);
    EXPECT_FALSE(Logged("count_pages /p/scan.tif"));
}

TEST_F(PageGenerationTest, AnOutputThatCannotBeCreatedCarriesTheEnginesReason) {
    standin::SetOpenResult(-1);
    standin::SetLastError("cannot create \"/proc/out.pdf\": Permission denied");
    standin::SetLastProblem(PDFW_PROBLEM_OUTPUT, "/proc/out.pdf", "Permission denied");
    bool told = false;
    folvane::GenerateEvents events;
    events.afterClose = [&] { told = true; };
    try {
        folvane::generatePdf("/proc/out.pdf", {"/p/a.jpg"}, {}, events);
        FAIL() << "no exception";
    } catch (const folvane::GenerateError &e) {
        EXPECT_EQ(e.problem.kind, folvane::Problem::Kind::Output);
        EXPECT_EQ(e.problem.file, "/proc/out.pdf");
        EXPECT_EQ(e.problem.detail, "Permission denied");
        EXPECT_TRUE(e.aboutOutput());
        EXPECT_EQ(e.path, "/proc/out.pdf");
    }
    EXPECT_FALSE(told);
    Lines tail(standin::Log().end() - 4, standin::Log().end());
    EXPECT_EQ(tail, (Lines{"open_file /proc/out.pdf", "delete", "delete done", "shutdown"}));
}

TEST_F(PageGenerationTest, AnEngineErrorNamesTheRowAndPageAndStopsWithoutClosing) {
    standin::SetPages("/p/b.tif", 2);
    standin::FailNext("load_image", 2, "cannot read \"/p/b.tif\"", 2);
    try {
        folvane::generatePdf("/out/doc.pdf", {"/p/a.jpg", "/p/b.tif"}, {});
        FAIL() << "no exception";
    } catch (const folvane::GenerateError &e) {
        EXPECT_STREQ(e.what(), "cannot read \"/p/b.tif\"");
        EXPECT_EQ(e.path, "/p/b.tif");
        EXPECT_EQ(e.filePage, 2);
        EXPECT_EQ(e.index, 1u);
        EXPECT_FALSE(e.aboutOutput());
    }
    EXPECT_FALSE(Logged("close"));
    Lines tail(standin::Log().end() - 3, standin::Log().end());
    EXPECT_EQ(tail, (Lines{"delete", "delete done", "shutdown"}));
}

TEST_F(PageGenerationTest, AStopRequestEndsTheRunBeforeTheNextPage) {
    int polls = 0;
    folvane::GenerateEvents events;
    events.stopRequested = [&] { return ++polls == 3; };
    EXPECT_THROW(
        folvane::generatePdf("/out/doc.pdf", {"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"}, {}, events),
        folvane::GenerateCancelled);
    const Lines &log = standin::Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "end_page"), 2);
    EXPECT_FALSE(Logged("close"));
    EXPECT_TRUE(Logged("delete done"));
}

TEST_F(PageGenerationTest, CutImagesAndTheEnginesNotesAreReported) {
    standin::SetImageSize(2000, 3000);
    standin::SetImageNotes(
        {{PDFW_NOTE_REPAIRED, "junk before a marker"}, {PDFW_NOTE_PROFILE_IGNORED, "unreadable"}});
    std::vector<folvane::PageNote> notes;
    folvane::GenerateEvents events;
    events.onNote = [&](const folvane::PageNote &note) { notes.push_back(note); };
    folvane::generatePdf("/out/doc.pdf", {"/p/big.jpg"}, Options(PageLayout::ofClass(1)), events);

    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].kind, folvane::PageNote::Kind::Cropped);
    EXPECT_EQ(notes[0].path, "/p/big.jpg");
    // 840 x 1260 points on a 595 x 842 page.
    EXPECT_NEAR(notes[0].outside, 1 - (595.0 * 842.0) / (840.0 * 1260.0), 1e-4);
    EXPECT_EQ(notes[1].kind, folvane::PageNote::Kind::Repaired);
    EXPECT_EQ(notes[1].detail, "junk before a marker");
    EXPECT_EQ(notes[2].kind, folvane::PageNote::Kind::ProfileIgnored);
    EXPECT_EQ(notes[2].detail, "unreadable");

    // Fit never cuts.
    standin::Reset();
    standin::SetImageSize(2000, 3000);
    notes.clear();
    folvane::generatePdf("/out/doc.pdf", {"/p/big.jpg"}, Options(PageLayout::fitted()), events);
    EXPECT_TRUE(notes.empty());
}

TEST_F(PageGenerationTest, LongPathsReachTheEngineWhole) {
    std::string dir = "/" + std::string(300, 'd');
    std::string image = dir + "/" + std::string(200, 'i') + ".jpg";
    folvane::generatePdf(dir + "/out.pdf", {image}, {});
    EXPECT_TRUE(Logged("open_file " + dir + "/out.pdf"));
    EXPECT_TRUE(Logged("load_image jpeg " + image + " [] 1"));
}

} // namespace
