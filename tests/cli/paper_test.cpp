// folvane-pdf --page-size: every paper's MediaBox for the classes and for fit, pages the size of
// their image at its stated resolution, and an unknown paper refused before anything is written.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/cli/FolvanePdfRun.h"
#include "tests/support/Pdf.h"

namespace {

using namespace cli_test;
using support::PageSize;
using support::Quote;

struct PaperCase {
    const char *name;
    PageSize portrait;
};

const PaperCase kPapers[] = {{"a4", {595, 842}}, {"A3", {842, 1191}},    {"a5", {420, 595}},
                             {"b5", {499, 709}}, {"letter", {612, 792}}, {"legal", {612, 1008}}};

TEST(PageSizeOption, EveryPaperForAClassAndForFitTurnedWithTheImage) {
    support::TempDir dir;
    WriteJpeg(dir / "tall.jpg", 80, 160);
    WriteJpeg(dir / "wide.jpg", 160, 80);
    const std::string images = Quote(dir / "tall.jpg") + " " + Quote(dir / "wide.jpg");
    const std::string out = Quote(dir / "out.pdf");
    for (const PaperCase &paper : kPapers) {
        const PageSize p = paper.portrait;
        const PageSize landscape{p.height, p.width};
        support::RunResult run =
            RunFolvanePdf(std::string("--page-size ") + paper.name + " -o " + out + " " + images);
        ASSERT_EQ(run.exitCode, 0) << paper.name << ": " << run.err;
        EXPECT_EQ(support::PageSizes(dir / "out.pdf"), (std::vector<PageSize>{p, landscape}))
            << paper.name;
        // A class keeps every page portrait, whichever comes first of -c and --page-size.
        run = RunFolvanePdf(std::string("-c 3 --page-size=") + paper.name + " -o " + out + " " +
                            images);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(support::PageSizes(dir / "out.pdf"), (std::vector<PageSize>{p, p}));
        run = RunFolvanePdf(std::string("--page-size=") + paper.name + " -c 3 -o " + out + " " +
                            images);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(support::PageSizes(dir / "out.pdf"), (std::vector<PageSize>{p, p}));
    }
}

TEST(PageSizeOption, ImagePagesAreTheImagesOwnSizeAtTheirResolution) {
    support::TempDir dir;
    // An A4 page scanned at 300 dpi: 2480 x 3508 pixels, 595.2 x 841.92 points.
    support::TiffPage scan = support::FaxPage(2480, 3508);
    scan.resolutionUnit = RESUNIT_INCH;
    scan.xResolution = 300.0f;
    scan.yResolution = 300.0f;
    support::WriteTiff(dir / "scan.tif", {scan});
    // No resolution stated: 72 dpi, one point per pixel.
    WriteJpeg(dir / "photo.jpg", 640, 480);
    support::RunResult run =
        RunFolvanePdf("--page-size image -c 16 -o " + Quote(dir / "out.pdf") + " " +
                      Quote(dir / "scan.tif") + " " + Quote(dir / "photo.jpg"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<PageSize> sizes = support::PageSizes(dir / "out.pdf");
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_NEAR(sizes[0].width, 595.2, 0.01);
    EXPECT_NEAR(sizes[0].height, 841.92, 0.01);
    EXPECT_EQ(sizes[1], (PageSize{640, 480}));
    // The image fills its page: drawn at 72/300 and at one point per pixel.
    const auto matrices = support::PlacementMatrices(dir / "out.pdf");
    ASSERT_EQ(matrices.size(), 2u);
    EXPECT_NEAR(matrices[0][0], 595.2, 0.01);
    EXPECT_NEAR(matrices[0][3], 841.92, 0.01);
    EXPECT_NEAR(matrices[1][0], 640, 0.01);
    EXPECT_TRUE(run.err.empty()) << run.err; // nothing is cut off
}

TEST(PageSizeOption, AnUnknownPaperIsRefusedNamingTheChoices) {
    support::TempDir dir;
    WriteJpeg(dir / "page.jpg", 40, 40);
    for (const char *bad : {"a6", "\"\"", "max"}) {
        support::RunResult run =
            RunFolvanePdf(std::string("--page-size ") + bad + " -o " + Quote(dir / "out.pdf") +
                          " " + Quote(dir / "page.jpg"));
        EXPECT_EQ(run.exitCode, 2) << bad;
        EXPECT_NE(run.err.find("--page-size"), std::string::npos) << run.err;
        if (std::string(bad) != "max") { // max is the scanner's area: it needs --scan
            EXPECT_NE(run.err.find("letter, legal or image"), std::string::npos) << run.err;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "out.pdf"));
}

} // namespace
