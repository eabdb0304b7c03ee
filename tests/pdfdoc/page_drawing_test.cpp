// Pages of existing PDFs drawn for the preview: fitted to the box asked for, turned, and kept
// under the pixel ceiling.
#include <gtest/gtest.h>

#include "pdfdoc/PageDrawing.h"
#include "tests/support/Files.h"
#include "tests/support/TextPdf.h"

namespace {

using folvane::pdfdoc::drawPdfPage;
using folvane::pdfdoc::PageDrawRequest;
using folvane::pdfdoc::PageRaster;
using folvane::pdfdoc::PdfFailure;

// Whether the pixel at (x, y) is dark.
bool darkAt(const PageRaster &raster, int x, int y) {
    const std::size_t at = (static_cast<std::size_t>(y) * raster.width + x) * 3;
    return raster.rgb[at] < 64 && raster.rgb[at + 1] < 64 && raster.rgb[at + 2] < 64;
}

class PageDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        // A4 upright, with a black square in its top left quarter.
        support::WriteText(path_,
                           support::TextPdf({{400, 800, 0, "", true}, {400, 800, 90, "", true}}));
    }
    PageRaster draw(int page, int turns, int maxWidth, int maxHeight) {
        PageRaster raster;
        EXPECT_EQ(drawPdfPage({path_, "", page, turns, maxWidth, maxHeight}, raster),
                  PdfFailure::None);
        return raster;
    }
    support::TempDir dir_;
    std::string path_ = dir_ / "box.pdf";
};

TEST_F(PageDrawing, FitsTheBoxKeepingProportions) {
    const PageRaster raster = draw(1, 0, 300, 300);
    EXPECT_EQ(raster.height, 300);
    EXPECT_EQ(raster.width, 150);
    EXPECT_EQ(raster.rgb.size(), std::size_t(150 * 300 * 3));
    // The square spans 25 to 125 points from the top left corner: 9 to 47 pixels here.
    EXPECT_TRUE(darkAt(raster, 12, 12));
    EXPECT_TRUE(darkAt(raster, 44, 44));
    EXPECT_FALSE(darkAt(raster, 5, 20));
    EXPECT_FALSE(darkAt(raster, 52, 20));
    EXPECT_FALSE(darkAt(raster, 20, 52));
    EXPECT_FALSE(darkAt(raster, 120, 270)); // white paper, bottom right
}

TEST_F(PageDrawing, TurnsFollowThePagesOwnRotation) {
    // A quarter turn clockwise puts the top left square at the top right.
    const PageRaster turned = draw(1, 1, 300, 300);
    EXPECT_EQ(turned.width, 300);
    EXPECT_EQ(turned.height, 150);
    EXPECT_TRUE(darkAt(turned, 270, 30));
    EXPECT_FALSE(darkAt(turned, 30, 30));
    // The second page turns itself a quarter; turned back once more it stands upright.
    const PageRaster own = draw(2, 0, 300, 300);
    EXPECT_EQ(own.width, 300);
    EXPECT_TRUE(darkAt(own, 270, 30));
    const PageRaster back = draw(2, 3, 300, 300);
    EXPECT_EQ(back.height, 300);
    EXPECT_TRUE(darkAt(back, 30, 30));
}

TEST_F(PageDrawing, AHugeBoxIsKeptUnderTheCeiling) {
    const PageRaster raster = draw(1, 0, 1'000'000, 1'000'000);
    EXPECT_LE(static_cast<long long>(raster.width) * raster.height,
              folvane::pdfdoc::kMaxDrawnPixels);
    EXPECT_GT(raster.width, 1000);
}

TEST_F(PageDrawing, FailuresLeaveNoRaster) {
    PageRaster raster;
    EXPECT_EQ(drawPdfPage({path_, "", 3, 0, 100, 100}, raster), PdfFailure::NoSuchPage);
    EXPECT_TRUE(raster.rgb.empty());
    EXPECT_EQ(drawPdfPage({path_, "", 1, 0, 0, 100}, raster), PdfFailure::Damaged);
    EXPECT_EQ(drawPdfPage({dir_ / "none.pdf", "", 1, 0, 100, 100}, raster), PdfFailure::CannotOpen);
    EXPECT_EQ(raster.width, 0);
}

} // namespace
