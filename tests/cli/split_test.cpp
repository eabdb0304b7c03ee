// folvane-pdf --split-every: a run's pages as OUT-001.pdf, OUT-002.pdf, ..., the pages of a
// multi-page TIFF too, each with its own turn; and the set written whole or not at all: a
// failure or a kill leaves none of the new files and the older ones of the same names as they
// were.
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

#include <gtest/gtest.h>

#include "tests/cli/FolvanePdfRun.h"
#include "tests/support/Pdf.h"

namespace {

using namespace support;
using namespace cli_test;

bool Exists(const std::string &path) {
    return std::filesystem::exists(path);
}

const std::string kOld = "%PDF-1.4 the document of an earlier run\n";

class SplitTest : public ::testing::Test {
protected:
    // Seven pages, told apart by their widths 40, 48, ..., 88: two JPEGs, a TIFF of three
    // pages, two JPEGs.
    void SetUp() override {
        WriteJpeg(dir / "a.jpg", 40, 30);
        WriteJpeg(dir / "b.jpg", 48, 30);
        WriteTiffPages(dir / "c.tif", {{56, 30}, {64, 30}, {72, 30}});
        WriteJpeg(dir / "d.jpg", 80, 30);
        WriteJpeg(dir / "e.jpg", 88, 30);
        images = " " + Quote(dir / "a.jpg") + " " + Quote(dir / "b.jpg") + " " +
                 Quote(dir / "c.tif") + " " + Quote(dir / "d.jpg") + " " + Quote(dir / "e.jpg");
    }

    // The widths of the images of a PDF, in page order.
    static std::vector<int> Widths(const std::string &pdf) {
        std::vector<int> widths;
        for (const PdfImage &image : ListImages(pdf)) {
            widths.push_back(image.width);
        }
        return widths;
    }

    TempDir dir;
    std::string images;
};

TEST_F(SplitTest, PagesGoIntoNumberedDocumentsInOrder) {
    const RunResult run =
        RunFolvanePdf("--split-every 3 --rotate=90:4 -o " + Quote(dir / "out.pdf") + images);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::vector<int>> expected = {{40, 48, 56}, {64, 72, 80}, {88}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::string pdf = dir / ("out-00" + std::to_string(i + 1) + ".pdf");
        ASSERT_TRUE(QpdfCheck(pdf)) << pdf;
        EXPECT_EQ(Widths(pdf), expected[i]) << pdf;
    }
    EXPECT_FALSE(Exists(dir / "out-004.pdf"));
    EXPECT_FALSE(Exists(dir / "out.pdf"));
    // --rotate names page 4 of the run: the first of the second document, the TIFF's second.
    const std::vector<PageSize> second = PageSizes(dir / "out-002.pdf");
    ASSERT_EQ(second.size(), 3u);
    EXPECT_GT(second[0].height, second[0].width);
    EXPECT_GT(second[1].width, second[1].height);
}

TEST_F(SplitTest, AFailureLeavesNoneOfTheSetAndTheOldFilesAsTheyWere) {
    WriteText(dir / "out-002.pdf", kOld);
    WriteText(dir / "broken.jpg", "not a picture");
    const std::set<std::string> before = Listing(dir.Path());
    // The third document fails, after the first two are complete.
    const RunResult run = RunFolvanePdf("--split-every 3 -o " + Quote(dir / "out.pdf") + images +
                                        " " + Quote(dir / "broken.jpg"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("broken.jpg"), std::string::npos) << run.err;
    EXPECT_EQ(Listing(dir.Path()), before);
    EXPECT_EQ(ReadText(dir / "out-002.pdf"), kOld);
}

TEST_F(SplitTest, ATargetThatIsAFolderIsRefusedBeforeAnythingIsWritten) {
    ASSERT_EQ(::mkdir((dir / "out-003.pdf").c_str(), 0700), 0);
    WriteText(dir / "out-001.pdf", kOld);
    const RunResult run = RunFolvanePdf("--split-every 3 -o " + Quote(dir / "out.pdf") + images);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("out-003.pdf"), std::string::npos) << run.err;
    EXPECT_EQ(ReadText(dir / "out-001.pdf"), kOld);
    EXPECT_FALSE(Exists(dir / "out-002.pdf"));
}

TEST_F(SplitTest, AKilledRunLeavesTheOldFilesAndTheNextRunSweepsItsLeftovers) {
    WriteText(dir / "out-001.pdf", kOld);
    // Killed as the engine commits the first document into the hidden folder, its named
    // temporary file left there.
    const RunResult killed =
        RunShell("FOLVANE_PDFW_NAMED_TEMPORARY=1 FOLVANE_PDFW_KILL_AT=commit exec " +
                 Quote(kProgram) + " --split-every 1 -o " + Quote(dir / "out.pdf") + images);
    EXPECT_EQ(killed.exitCode, 128 + 9);
    EXPECT_EQ(ReadText(dir / "out-001.pdf"), kOld);
    EXPECT_FALSE(Exists(dir / "out-002.pdf"));

    const RunResult again = RunFolvanePdf("--split-every 4 -o " + Quote(dir / "out.pdf") + images);
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(Listing(dir.Path()), (std::set<std::string>{"a.jpg", "b.jpg", "c.tif", "d.jpg",
                                                          "e.jpg", "out-001.pdf", "out-002.pdf"}));
    EXPECT_EQ(Widths(dir / "out-002.pdf"), (std::vector<int>{72, 80, 88}));
}

TEST_F(SplitTest, ADocumentThatWouldReplaceAnInputIsRefused) {
    // x-001.pdf is a link to the first image and the name of the first document.
    ASSERT_EQ(::link((dir / "a.jpg").c_str(), (dir / "x-001.pdf").c_str()), 0);
    const std::set<std::string> before = Listing(dir.Path());
    const RunResult run = RunFolvanePdf("--split-every 3 -o " + Quote(dir / "x.pdf") + images);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("x-001.pdf"), std::string::npos) << run.err;
    EXPECT_EQ(Listing(dir.Path()), before);
}

TEST_F(SplitTest, BadRequestsAreUsageErrors) {
    for (const char *bad :
         {"--split-every 0 -o x.pdf", "--split-every -1 -o x.pdf", "--split-every three -o x.pdf",
          "--split-every 2 -o -", "--split-every 2 --scan -o x.pdf"}) {
        const RunResult run = RunFolvanePdf(std::string(bad) + images);
        EXPECT_EQ(run.exitCode, 2) << bad << ": " << run.err;
    }
    EXPECT_EQ(Listing(dir.Path()).count("x.pdf"), 0u);
}

// A letter's page: white paper with eight dark lines of text, `width` pixels wide.
void WriteLetterPage(const std::string &path, int width) {
    Picture page = Solid(width, 280, 0xFFFFFF);
    for (int line = 0; line < 8; ++line) {
        for (int y = 40 + line * 24; y < 46 + line * 24; ++y) {
            for (int x = 30; x < width - 40; ++x) {
                for (int c = 0; c < 3; ++c) {
                    page.At(x, y, c) = 20;
                }
            }
        }
    }
    WriteFile(path, MakeJpeg(page));
}

TEST(SplitAtBlank, TenLettersBetweenBlankSheetsGiveTenDocuments) {
    TempDir dir;
    ASSERT_EQ(::mkdir((dir / "scans").c_str(), 0700), 0);
    std::vector<std::vector<int>> expected;
    int sheet = 0;
    int width = 200;
    auto next = [&] { return dir / ("scans/" + std::to_string(++sheet) + ".jpg"); };
    // A blank sheet before the first letter, one between letters, two after the last.
    WriteFile(next(), MakeJpeg(Solid(220, 280, 0xFFFFFF)));
    for (int letter = 0; letter < 10; ++letter) {
        expected.emplace_back();
        for (int page = 0; page <= letter % 3; ++page, width += 8) {
            WriteLetterPage(next(), width);
            expected.back().push_back(width);
        }
        WriteFile(next(), MakeJpeg(Solid(220, 280, 0xFFFFFF)));
    }
    WriteFile(next(), MakeJpeg(Solid(220, 280, 0xFFFFFF)));

    // With --skip-blank too the same documents: the pages the cut kept are not blank.
    for (const std::string skip : {"", "--skip-blank "}) {
        const RunResult run = RunFolvanePdf("--split-at-blank " + skip + "-o " +
                                            Quote(dir / "letter.pdf") + " " + Quote(dir / "scans"));
        ASSERT_EQ(run.exitCode, 0) << run.err;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "letter-%03zu.pdf", i + 1);
            std::vector<int> widths;
            for (const PdfImage &image : ListImages(dir / name)) {
                widths.push_back(image.width);
            }
            EXPECT_EQ(widths, expected[i]) << skip << name;
        }
        EXPECT_FALSE(Exists(dir / "letter-011.pdf"));
    }
    EXPECT_EQ(
        RunFolvanePdf("--split-at-blank --split-every 2 -o x.pdf " + Quote(dir / "scans")).exitCode,
        2);
}

} // namespace
