// folvane-pdf --interleave: a stack scanned fronts first and backs after comes out paired, each
// page of a multi-page TIFF counted as a page of the stack; --rotate and --crop name pages in
// the new order; a stack that cannot pair is refused before anything is written.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/cli/FolvanePdfRun.h"
#include "tests/support/Pdf.h"

namespace {

using namespace cli_test;
using support::PageSize;

// The stack's page n is a picture 40 + 8n pixels wide, so that the PDF's images tell which
// page went where.
int WidthOf(int n) {
    return 40 + 8 * n;
}

std::vector<int> PagesByWidth(const std::string &pdf) {
    std::vector<int> pages;
    for (const support::PdfImage &image : support::ListImages(pdf)) {
        if (image.type == "image") {
            pages.push_back((image.width - 40) / 8);
        }
    }
    return pages;
}

TEST(InterleaveOption, FrontsThenBacksComeOutPairedWithTurnsCountedInTheNewOrder) {
    support::TempDir dir;
    // Pages 1 and 2 as JPEGs, 3 to 5 as one TIFF, 6 as a JPEG.
    WriteJpeg(dir / "1.jpg", WidthOf(1), 30);
    WriteJpeg(dir / "2.jpg", WidthOf(2), 30);
    WriteTiffPages(dir / "3-5.tif", {{WidthOf(3), 30}, {WidthOf(4), 30}, {WidthOf(5), 30}});
    WriteJpeg(dir / "6.jpg", WidthOf(6), 30);
    const std::string images = support::Quote(dir / "1.jpg") + " " + support::Quote(dir / "2.jpg") +
                               " " + support::Quote(dir / "3-5.tif") + " " +
                               support::Quote(dir / "6.jpg");
    const std::string out = dir / "out.pdf";
    support::RunResult run =
        RunFolvanePdf("--interleave --rotate=90:2 -o " + support::Quote(out) + " " + images);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(PagesByWidth(out), (std::vector<int>{1, 6, 2, 5, 3, 4}));
    // Every picture is wider than tall: only the PDF's page 2, the stack's page 6, is turned.
    constexpr PageSize kPortrait{595, 842};
    constexpr PageSize kLandscape{842, 595};
    EXPECT_EQ(support::PageSizes(out), (std::vector<PageSize>{kLandscape, kPortrait, kLandscape,
                                                              kLandscape, kLandscape, kLandscape}));
    EXPECT_TRUE(support::QpdfCheck(out));

    // A crop names the PDF's page too: page 4 is the stack's page 5, the TIFF's last.
    run = RunFolvanePdf("--interleave --crop=0,0,16,16:4 -o " + support::Quote(out) + " " + images);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<support::PdfImage> pictures = support::ListImages(out);
    ASSERT_EQ(pictures.size(), 6u);
    EXPECT_EQ(pictures[3].width, 16);
    EXPECT_EQ(pictures[2].width, WidthOf(2));

    // With one page a file, a TIFF gives only its first.
    run = RunFolvanePdf("--interleave --first-page-only -o " + support::Quote(out) + " " +
                        support::Quote(dir / "3-5.tif") + " " + support::Quote(dir / "1.jpg") +
                        " " + support::Quote(dir / "2.jpg") + " " + support::Quote(dir / "6.jpg"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(PagesByWidth(out), (std::vector<int>{3, 6, 1, 2}));
}

TEST(InterleaveOption, AStackThatCannotPairIsRefusedAndTheOldOutputKept) {
    support::TempDir dir;
    WriteJpeg(dir / "a.jpg", 40, 30);
    WriteTiffPages(dir / "two.tif", {{40, 30}, {40, 30}});
    const std::string out = dir / "out.pdf";
    const std::string old = "%PDF-1.4 the document of an earlier run\n";
    support::WriteFile(out, support::Bytes(old.begin(), old.end()));
    const std::string images =
        support::Quote(dir / "a.jpg") + " " + support::Quote(dir / "two.tif");
    struct Refused {
        std::string options;
        std::string says;
    };
    for (const Refused &bad : {
             Refused{"--interleave", "even number of pages"},
             Refused{"--interleave --skip-unreadable", "--skip-unreadable"},
         }) {
        const support::RunResult run =
            RunFolvanePdf(bad.options + " -o " + support::Quote(out) + " " + images);
        EXPECT_EQ(run.exitCode, 2) << bad.options << ": " << run.err;
        EXPECT_NE(run.err.find(bad.says), std::string::npos) << bad.options << ": " << run.err;
        const support::Bytes kept = support::ReadFile(out);
        EXPECT_EQ(std::string(kept.begin(), kept.end()), old) << bad.options;
    }
    const support::RunResult run = RunFolvanePdf("--interleave --scan -o " + support::Quote(out));
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_NE(run.err.find("--scan"), std::string::npos) << run.err;
}

} // namespace
