// The page loop with blank pages left out: which pages go, what the caller hears, and a run with
// nothing left to write.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/PageGeneration.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"
#include "tests/support/Tiff.h"

namespace {

using folvane::GenerateOptions;
using folvane::PageStart;
using namespace support;

// Grey paper with grain, and, when `marked`, a word's worth of dark ink in the middle.
Picture PaperPicture(bool marked) {
    Picture picture = Blank(600, 850, 1);
    uint32_t random = 3;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            random = random * 1664525u + 1013904223u;
            const bool ink = marked && x >= 270 && x < 330 && y >= 400 && y < 412;
            picture.At(x, y, 0) = static_cast<uint8_t>(ink ? 60 : 226 + (random >> 16) % 9);
        }
    }
    return picture;
}

struct Outcome {
    std::vector<PageStart> skipped;
    std::vector<std::size_t> written; // rows, one a page
};

Outcome Generate(const std::string &out, const std::vector<std::string> &paths,
                 const GenerateOptions &options) {
    Outcome run;
    folvane::GenerateEvents events;
    events.onBlankSkipped = [&run](const PageStart &page) { run.skipped.push_back(page); };
    events.onPage = [&run](const PageStart &page) { run.written.push_back(page.index); };
    folvane::generatePdf(out, paths, options, events);
    return run;
}

class SkipBlank : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(dir / "blank.jpg", MakeJpeg(PaperPicture(false)));
        WriteFile(dir / "word.jpg", MakeJpeg(PaperPicture(true)));
        options.skipBlank = true;
    }
    TempDir dir;
    GenerateOptions options;
};

TEST_F(SkipBlank, LeavesOutBlankPagesAndTellsEach) {
    const std::string out = dir / "out.pdf";
    const Outcome run =
        Generate(out, {dir / "blank.jpg", dir / "word.jpg", dir / "blank.jpg"}, options);
    ASSERT_EQ(run.skipped.size(), 2u);
    EXPECT_EQ(run.skipped[0].index, 0u);
    EXPECT_EQ(run.skipped[1].index, 2u);
    EXPECT_EQ(run.written, std::vector<std::size_t>{1});
    EXPECT_EQ(PageCount(out), 1);
    // Off, every page goes in.
    options.skipBlank = false;
    const Outcome all = Generate(out, {dir / "blank.jpg", dir / "word.jpg"}, options);
    EXPECT_TRUE(all.skipped.empty());
    EXPECT_EQ(PageCount(out), 2);
}

TEST_F(SkipBlank, CallersVerdictStandsForItsRow) {
    // The window judged the rows already: its word is taken, even against the rule's.
    options.blankRows = {{0, false}, {1, true}};
    const std::string out = dir / "out.pdf";
    const Outcome run = Generate(out, {dir / "blank.jpg", dir / "word.jpg"}, options);
    ASSERT_EQ(run.skipped.size(), 1u);
    EXPECT_EQ(run.skipped[0].index, 1u);
    EXPECT_EQ(PageCount(out), 1);
}

TEST_F(SkipBlank, OnlyTheBlankPageOfATiffOfSeveral) {
    WriteTiff(dir / "pages.tif", {TiffPageOf(PaperPicture(true)), TiffPageOf(PaperPicture(false)),
                                  TiffPageOf(PaperPicture(true))});
    const std::string out = dir / "out.pdf";
    const Outcome run = Generate(out, {dir / "pages.tif"}, options);
    ASSERT_EQ(run.skipped.size(), 1u);
    EXPECT_EQ(run.skipped[0].filePage, 2);
    EXPECT_EQ(run.skipped[0].filePages, 3);
    EXPECT_EQ(PageCount(out), 2);
}

TEST_F(SkipBlank, EveryPageBlankFailsAndKeepsTheOldFile) {
    const std::string out = dir / "out.pdf";
    WriteText(out, "the old file");
    try {
        Generate(out, {dir / "blank.jpg", dir / "blank.jpg"}, options);
        FAIL() << "a document of no pages was written";
    } catch (const folvane::GenerateError &error) {
        EXPECT_EQ(error.problem.kind, folvane::Problem::Kind::EveryPageBlank);
        EXPECT_EQ(error.problem.numbers[0], 2);
        EXPECT_TRUE(error.aboutOutput());
    }
    EXPECT_EQ(ReadText(out), "the old file");
    EXPECT_EQ(Listing(dir.Path()).size(), 3u); // no temporary left beside it
}

TEST_F(SkipBlank, ManyPagesJudgedAheadKeepTheirOrder) {
    // More pages than cores, blank ones scattered: each judged once, left out where it stands.
    std::vector<std::string> paths;
    std::vector<std::size_t> blankRows;
    std::vector<std::size_t> kept;
    for (std::size_t row = 0; row < 12; ++row) {
        const bool blank = row % 3 == 1 || row == 11;
        paths.push_back(dir / (blank ? "blank.jpg" : "word.jpg"));
        (blank ? blankRows : kept).push_back(row);
    }
    const Outcome run = Generate(dir / "out.pdf", paths, options);
    std::vector<std::size_t> skipped;
    for (const PageStart &page : run.skipped) {
        skipped.push_back(page.index);
    }
    EXPECT_EQ(skipped, blankRows);
    EXPECT_EQ(run.written, kept);
    EXPECT_EQ(PageCount(dir / "out.pdf"), static_cast<int>(kept.size()));
}

TEST_F(SkipBlank, AStopWhileJudgingEndsTheRunAndKeepsTheOldFile) {
    const std::string out = dir / "out.pdf";
    WriteText(out, "the old file");
    folvane::GenerateEvents events;
    int asked = 0;
    events.stopRequested = [&asked] { return ++asked > 2; };
    const std::vector<std::string> paths(8, dir / "word.jpg");
    EXPECT_THROW(folvane::generatePdf(out, paths, options, events), folvane::GenerateCancelled);
    EXPECT_EQ(ReadText(out), "the old file");
}

TEST_F(SkipBlank, AnUnreadablePageIsNeverLeftOutButFailsAsBefore) {
    WriteText(dir / "broken.jpg", "not a picture");
    EXPECT_THROW(Generate(dir / "out.pdf", {dir / "broken.jpg"}, options), folvane::GenerateError);
}

} // namespace
