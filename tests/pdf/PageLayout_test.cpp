// Where a page's image goes for each layout, computed here from the page's geometry alone.

#include "pdf/PageLayout.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include <gtest/gtest.h>

namespace {

using folvane::PageLayout;
using folvane::placeOnPage;

TEST(PageLayout, TheWindowsChoicesAreTheSixClassesThenFit) {
    for (int index = 0; index < 6; ++index) {
        PageLayout layout = PageLayout::fromImageType(index);
        EXPECT_FALSE(layout.fit);
        EXPECT_EQ(layout.imageType, index);
    }
    EXPECT_TRUE(PageLayout::fromImageType(6).fit);
    EXPECT_FALSE(PageLayout().fit);
    EXPECT_EQ(PageLayout().imageType, 1);
}

class ClassPlacement : public ::testing::TestWithParam<int> {};

TEST_P(ClassPlacement, A4PortraitAtTheOriginWithTheClassScale) {
    const double scales[] = {0.525, 0.42, 0.331, 0.264, 0.2358, 0.1871, 0.1871};
    const double scale = scales[GetParam()];
    for (auto [width, height] : {std::pair{1000.0, 500.0}, std::pair{500.0, 1000.0},
                                 std::pair{4000.0, 3000.0}, std::pair{1.0, 1.0}}) {
        auto placed = placeOnPage(PageLayout::ofClass(GetParam()), width, height);
        EXPECT_EQ(placed.pageWidth, 595.0f);
        EXPECT_EQ(placed.pageHeight, 842.0f);
        EXPECT_EQ(placed.x, 0.0f);
        EXPECT_EQ(placed.y, 0.0f);
        EXPECT_NEAR(placed.scale, scale, 1e-6);
        const double shownWidth = width * scale;
        const double shownHeight = height * scale;
        const double inside = std::min(shownWidth, 595.0) * std::min(shownHeight, 842.0);
        EXPECT_NEAR(placed.outside, 1 - inside / (shownWidth * shownHeight), 1e-5)
            << width << " x " << height;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryClass, ClassPlacement, ::testing::Range(0, 7));

TEST(ClassPlacement, AScanAtThreeMegapixelsIsMostlyOffThePage) {
    // A 300-dpi A4 scan at 0.42: 1041.6 x 1473.36 points, of which 595 x 842 show.
    auto placed = placeOnPage(PageLayout::ofClass(1), 2480, 3508);
    EXPECT_NEAR(placed.outside, 0.6736, 1e-4);
    // Exactly the page's width is not a cut.
    EXPECT_EQ(placeOnPage(PageLayout::ofClass(0), 595 / 0.525, 100).outside, 0.0);
}

// Upright width, height; expected page width, height.
using FitCase = std::tuple<double, double, float, float>;
class FitPlacement : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitPlacement, AsLargeAsThePageAllowsAndCentred) {
    auto [width, height, pageWidth, pageHeight] = GetParam();
    auto placed = placeOnPage(PageLayout::fitted(), width, height);
    EXPECT_EQ(placed.pageWidth, pageWidth);
    EXPECT_EQ(placed.pageHeight, pageHeight);
    const double scale = std::min(pageWidth / width, pageHeight / height);
    EXPECT_NEAR(placed.scale, scale, scale * 1e-6);
    const double shownWidth = width * placed.scale;
    const double shownHeight = height * placed.scale;
    // Never past an edge, not even by rounding, and touching two opposite edges.
    EXPECT_LE(shownWidth, pageWidth);
    EXPECT_LE(shownHeight, pageHeight);
    EXPECT_TRUE(pageWidth - shownWidth < 0.01 || pageHeight - shownHeight < 0.01);
    EXPECT_NEAR(placed.x, (pageWidth - shownWidth) / 2, 0.006);
    EXPECT_NEAR(placed.y, (pageHeight - shownHeight) / 2, 0.006);
    EXPECT_EQ(placed.outside, 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, FitPlacement,
    ::testing::Values(FitCase{2480, 3508, 595, 842},   // portrait A4 scan
                      FitCase{3264, 2448, 842, 595},   // 8-megapixel landscape photo
                      FitCase{4000, 3000, 842, 595},   // 12-megapixel landscape photo
                      FitCase{1000, 1000, 595, 842},   // square: portrait
                      FitCase{1, 1, 595, 842},         // tiny: enlarged
                      FitCase{3, 2, 842, 595},         //
                      FitCase{65000, 60000, 842, 595}, // huge
                      FitCase{60000, 20, 842, 595},    // a long strip
                      FitCase{20, 60000, 595, 842}));

TEST(FitPlacement, ASizeThatIsNotPositivePlacesNothingOffThePage) {
    for (auto [width, height] : {std::pair{0.0, 100.0}, std::pair{100.0, -1.0}}) {
        auto placed = placeOnPage(PageLayout::fitted(), width, height);
        EXPECT_EQ(placed.pageWidth, 595.0f);
        EXPECT_EQ(placed.scale, 1.0f);
        EXPECT_EQ(placed.outside, 0.0);
        EXPECT_EQ(placeOnPage(PageLayout::ofClass(1), width, height).outside, 0.0);
    }
}

// A corrected page is a sheet: every class and fit alike give the sheet's page, filled.
TEST(SheetPlacement, ACorrectedPageFillsItsSheetWhateverTheLayout) {
    struct Sheet {
        double width, height; // points
        double pixelsWide, pixelsHigh;
    };
    for (Sheet sheet : {Sheet{595.28, 841.89, 2480, 3508}, // A4 at 300 dpi
                        Sheet{419.53, 595.28, 874, 1240},  // A5 at 150 dpi
                        Sheet{792, 612, 3300, 2550},       // Letter, landscape
                        Sheet{300, 842, 700, 1965}}) {     // its own narrow shape
        for (int index = 0; index <= 6; ++index) {
            auto placed = folvane::placeSheet(PageLayout::fromImageType(index), sheet.width,
                                              sheet.height, sheet.pixelsWide, sheet.pixelsHigh);
            SCOPED_TRACE(index);
            EXPECT_NEAR(placed.pageWidth, sheet.width, 1e-3);
            EXPECT_NEAR(placed.pageHeight, sheet.height, 1e-3);
            EXPECT_EQ(placed.outside, 0.0);
            // Filled to within a point, and never past an edge.
            double shownWidth = sheet.pixelsWide * placed.scale;
            double shownHeight = sheet.pixelsHigh * placed.scale;
            EXPECT_LE(placed.x + shownWidth, placed.pageWidth + 1e-3);
            EXPECT_LE(placed.y + shownHeight, placed.pageHeight + 1e-3);
            EXPECT_GT(shownWidth, sheet.width - 1);
            EXPECT_GT(shownHeight, sheet.height - 1);
        }
    }
}

TEST(SheetPlacement, NoSheetOrABadOnePlacesLikeAPhoto) {
    for (auto [width, height] :
         {std::pair{0.0, 0.0}, std::pair{-5.0, 842.0}, std::pair{595.0, std::nan("")}}) {
        auto placed = folvane::placeSheet(PageLayout::ofClass(1), width, height, 2048, 1536);
        auto photo = placeOnPage(PageLayout::ofClass(1), 2048, 1536);
        EXPECT_EQ(placed.scale, photo.scale);
        EXPECT_EQ(placed.outside, photo.outside);
    }
    // A sheet beyond what a reader takes is kept inside it.
    auto huge = folvane::placeSheet(PageLayout::fitted(), 1e6, 2e6, 1000, 2000);
    EXPECT_LE(huge.pageWidth, 14400.0f);
    EXPECT_LE(huge.pageHeight, 14400.0f);
    EXPECT_GE(huge.pageWidth, 3.0f);
}

} // namespace
