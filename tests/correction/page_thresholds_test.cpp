// Pages just either side of the correction's tuned limits, drawn with known levels and shapes
// so that each limit decides the case: how much of the text must be solid ink for a bilevel
// cut, and how close to a paper size a sheet must be to take its exact shape. A limit moved by
// half of its value turns one of each pair over.
#include <cmath>
#include <cstdint>

#include <gtest/gtest.h>

#include "correction/Correction.h"
#include "tests/correction/Photos.h"
#include "tests/support/Picture.h"

using namespace correction_test;

namespace {

constexpr double kA4 = 297.0 / 210;

folvane::correction::CorrectedPage withCorners(const support::Picture &sheet) {
    folvane::correction::Picture picture =
        pictureOf(sheet, 1, folvane::correction::SourceKind::Photo);
    double w = sheet.width, h = sheet.height;
    picture.corners = folvane::correction::Corners{
        {{-0.5, -0.5}, {w - 0.5, -0.5}, {w - 0.5, h - 0.5}, {-0.5, h - 0.5}}};
    return folvane::correction::correctPage(picture);
}

// An A4 page at 120 dpi of a hundred text lines (bars 3 pixels high, 12 apart) of which
// `solidPercent` are solid black and the rest the mid grey of a stroke out of focus.
support::Picture textOfSolidShare(int solidPercent) {
    support::Picture p = support::Solid(992, 1403, 0xFAFAFA);
    for (int y = 100; y < 100 + 12 * 100; ++y) {
        int bar = (y - 100) / 12;
        if ((y - 100) % 12 >= 3) {
            continue;
        }
        uint8_t level = bar < solidPercent ? 90 : 160;
        for (int x = 150; x < 850; ++x) {
            p.At(x, y, 0) = p.At(x, y, 1) = p.At(x, y, 2) = level;
        }
    }
    return p;
}

TEST(PageThresholds, TextIsSoftWhenTooLittleOfItIsSolid) {
    folvane::correction::CorrectedPage soft = withCorners(textOfSolidShare(19));
    ASSERT_TRUE(!soft.failure) << soft.failure.detail;
    EXPECT_TRUE(soft.softText) << "19% of the text solid";
    folvane::correction::CorrectedPage sharp = withCorners(textOfSolidShare(31));
    ASSERT_TRUE(!sharp.failure) << sharp.failure.detail;
    EXPECT_FALSE(sharp.softText) << "31% of the text solid";
}

// A sheet seen straight on whose height over width is A4's times `off`.
folvane::correction::CorrectedPage sheetOff(double off) {
    int width = 400;
    int height = static_cast<int>(std::lround(width * kA4 * off));
    return withCorners(support::Solid(width, height, 0xFAFAFA));
}

TEST(PageThresholds, ASheetWithin3PercentOfA4TakesItsShapeOneFurtherOffKeepsItsOwn) {
    for (double off : {1.02, 1 / 1.02}) {
        folvane::correction::CorrectedPage page = sheetOff(off);
        ASSERT_TRUE(!page.failure) << page.failure.detail;
        EXPECT_EQ(page.facts.paper, folvane::correction::PaperSize::A4) << off;
        EXPECT_NEAR(static_cast<double>(page.height) / page.width, kA4, 0.003) << off;
    }
    for (double off : {1.04, 1 / 1.04}) {
        folvane::correction::CorrectedPage page = sheetOff(off);
        ASSERT_TRUE(!page.failure) << page.failure.detail;
        EXPECT_EQ(page.facts.paper, folvane::correction::PaperSize::None) << off;
        EXPECT_NEAR(static_cast<double>(page.height) / page.width, kA4 * off, 0.01) << off;
    }
}

} // namespace
