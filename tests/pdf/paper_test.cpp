// Papers: their sizes and names, how a class and fit sit on each, and pages the size of their
// image at the resolution its file states.

#include <gtest/gtest.h>

#include "pdf/PageLayout.h"
#include "pdf/Paper.h"

namespace {

using folvane::PageLayout;
using folvane::Paper;
using folvane::placeOnPage;

TEST(Paper, NamesRoundTripAndTheWindowsOrderStartsWithA4) {
    for (Paper paper : folvane::allPapers()) {
        EXPECT_EQ(folvane::paperNamed(folvane::paperName(paper)), paper);
    }
    EXPECT_EQ(folvane::paperNamed("LETTER"), Paper::Letter);
    EXPECT_EQ(folvane::paperNamed("a6"), std::nullopt);
    EXPECT_EQ(folvane::paperNamed(""), std::nullopt);
    EXPECT_EQ(folvane::paperAt(0), Paper::A4);
    EXPECT_EQ(folvane::paperAt(6), Paper::SameAsImage);
    EXPECT_EQ(folvane::paperAt(7), Paper::A4);
    EXPECT_EQ(folvane::paperAt(-1), Paper::A4);
    EXPECT_EQ(PageLayout().paper, Paper::A4);
}

TEST(Paper, ClassesMeasureTheCutAgainstTheChosenPaper) {
    // A 300-dpi A4 scan at 3 megapixels (0.42): 1041.6 x 1473.36 points.
    const auto onA4 = placeOnPage(PageLayout::ofClass(1), 2480, 3508);
    const auto onA3 = placeOnPage(PageLayout::ofClass(1).onPaper(Paper::A3), 2480, 3508);
    EXPECT_EQ(onA3.pageWidth, 842.0f);
    EXPECT_EQ(onA3.pageHeight, 1191.0f);
    EXPECT_NEAR(onA3.outside, 1 - (842.0 * 1191.0) / (1041.6 * 1473.36), 1e-4);
    EXPECT_LT(onA3.outside, onA4.outside);
    // A5 is too small for a 2-megapixel photo that fits A4.
    EXPECT_EQ(placeOnPage(PageLayout::ofClass(0), 1000, 1500).outside, 0.0);
    EXPECT_GT(placeOnPage(PageLayout::ofClass(0).onPaper(Paper::A5), 1000, 1500).outside, 0.0);
}

TEST(Paper, FitTurnsTheChosenPaperWithTheImage) {
    const auto wide = placeOnPage(PageLayout::fitted().onPaper(Paper::Legal), 2000, 1000);
    EXPECT_EQ(wide.pageWidth, 1008.0f);
    EXPECT_EQ(wide.pageHeight, 612.0f);
    EXPECT_LE(wide.x + 2000 * wide.scale, 1008.0f);
    const auto tall = placeOnPage(PageLayout::fitted().onPaper(Paper::B5), 1000, 2000);
    EXPECT_EQ(tall.pageWidth, 499.0f);
    EXPECT_EQ(tall.pageHeight, 709.0f);
}

TEST(Paper, SameAsImageIsTheImagesOwnSizeWhateverTheClass) {
    for (PageLayout layout : {PageLayout::fitted(), PageLayout::ofClass(5)}) {
        const auto scan = placeOnPage(layout.onPaper(Paper::SameAsImage), 2480, 3508, 300, 300);
        EXPECT_NEAR(scan.pageWidth, 595.2, 1e-3);
        EXPECT_NEAR(scan.pageHeight, 841.92, 1e-3);
        EXPECT_NEAR(scan.scale, 0.24, 1e-6);
        EXPECT_LE(2480 * scan.scale, scan.pageWidth);
        EXPECT_EQ(scan.outside, 0.0);
    }
    // No resolution stated: 72 dpi. Different resolutions across and down keep each side.
    const auto plain = placeOnPage(PageLayout::fitted().onPaper(Paper::SameAsImage), 640, 480);
    EXPECT_EQ(plain.pageWidth, 640.0f);
    EXPECT_EQ(plain.pageHeight, 480.0f);
    EXPECT_EQ(plain.scale, 1.0f);
    const auto fax =
        placeOnPage(PageLayout::fitted().onPaper(Paper::SameAsImage), 1728, 1100, 204, 98);
    EXPECT_NEAR(fax.pageWidth, 1728 * 72.0 / 204, 1e-3);
    EXPECT_NEAR(fax.pageHeight, 1100 * 72.0 / 98, 1e-3);
}

TEST(Paper, SameAsImageStaysWithinWhatReadersTake) {
    // 40000 pixels at 72 dpi would be a page of 40000 points: drawn smaller, keeping its shape.
    const auto huge = placeOnPage(PageLayout::fitted().onPaper(Paper::SameAsImage), 40000, 20000);
    EXPECT_EQ(huge.pageWidth, 14400.0f);
    EXPECT_EQ(huge.pageHeight, 7200.0f);
    EXPECT_LE(40000 * huge.scale, 14400.0f);
    // A single pixel is at least the smallest page.
    const auto dot = placeOnPage(PageLayout::fitted().onPaper(Paper::SameAsImage), 1, 1);
    EXPECT_EQ(dot.pageWidth, 3.0f);
    EXPECT_EQ(dot.pageHeight, 3.0f);
    // A nonsense resolution counts as none.
    const auto nan = placeOnPage(PageLayout::fitted().onPaper(Paper::SameAsImage), 100, 100, -5, 0);
    EXPECT_EQ(nan.pageWidth, 100.0f);
}

} // namespace
