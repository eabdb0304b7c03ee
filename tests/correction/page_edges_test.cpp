// The corrected page is paper to its edge: the sheet's edge, its shadow and the desk that the
// corners leave along the border come out white, while text near the edge, with paper between
// it and the edge, keeps every stroke. The page is drawn at 200 dpi with its corners given, so
// that every millimetre of the border is known.
#include <algorithm>
#include <cstdint>
#include <functional>

#include <gtest/gtest.h>

#include "correction/Correction.h"
#include "tests/correction/PageInk.h"
#include "tests/correction/Photos.h"
#include "tests/support/Picture.h"

using namespace correction_test;

namespace {

constexpr int kWidth = 1654, kHeight = 2339; // A4 at 200 dpi
constexpr double kPxPerMm = 200 / 25.4;

int mm(double millimetres) {
    return static_cast<int>(millimetres * kPxPerMm + 0.5);
}

void fill(support::Picture &p, int x0, int y0, int x1, int y1,
          const std::function<int(int x, int y)> &level) {
    for (int y = std::max(0, y0); y < std::min(p.height, y1); ++y) {
        for (int x = std::max(0, x0); x < std::min(p.width, x1); ++x) {
            int v = level(x, y);
            if (v >= 0) {
                p.At(x, y, 0) = p.At(x, y, 1) = p.At(x, y, 2) = static_cast<uint8_t>(v);
            }
        }
    }
}

// Lines of text as bars 3 pixels high with 3 pixels of paper between them.
int textBars(int, int y) {
    return y % 6 < 3 ? 20 : -1;
}

folvane::correction::CorrectedPage corrected(const support::Picture &sheet) {
    folvane::correction::Picture picture =
        pictureOf(sheet, 1, folvane::correction::SourceKind::Photo);
    picture.corners = folvane::correction::Corners{
        {{-0.5, -0.5}, {kWidth - 0.5, -0.5}, {kWidth - 0.5, kHeight - 0.5}, {-0.5, kHeight - 0.5}}};
    return folvane::correction::correctPage(picture);
}

// The darkest mean of a row or column within `width` mm of the page's edges, as a viewer shows it.
double darkestEdgeLine(const folvane::correction::CorrectedPage &page, double width) {
    auto level = [&](int x, int y) {
        return inkAt(page, x, y) ? 0 : page.grey[static_cast<size_t>(y) * page.width + x];
    };
    double darkest = 255;
    int band = mm(width);
    for (int d = 0; d < band; ++d) {
        double top = 0, bottom = 0, left = 0, right = 0;
        for (int x = 0; x < page.width; ++x) {
            top += level(x, d);
            bottom += level(x, page.height - 1 - d);
        }
        for (int y = 0; y < page.height; ++y) {
            left += level(d, y);
            right += level(page.width - 1 - d, y);
        }
        darkest = std::min({darkest, top / page.width, bottom / page.width, left / page.height,
                            right / page.height});
    }
    return darkest;
}

// The share of the text bars' middle rows in x0..x1, y0..y1 that came out as ink.
double barsInked(const folvane::correction::CorrectedPage &page, int x0, int y0, int x1, int y1) {
    int bars = 0, inked = 0;
    for (int y = y0; y < y1; ++y) {
        if (y % 6 != 1) {
            continue;
        }
        for (int x = x0; x < x1; ++x) {
            ++bars;
            inked += inkAt(page, x, y);
        }
    }
    return bars ? static_cast<double>(inked) / bars : 0;
}

// A page of text with the world around the sheet left along three edges: on the left, 3 mm of
// dark desk with lighter grain along it; on the right, 4.5 mm of desk; along the top, the
// sheet's shadow, grey at the edge and fading over 2 mm.
support::Picture sheetWithDeskAround() {
    support::Picture p = support::Solid(kWidth, kHeight, 0xFAFAFA);
    fill(p, mm(25), mm(40), kWidth - mm(25), mm(120), textBars);
    fill(p, 0, 0, mm(3), kHeight, [](int x, int) { return x % 8 < 5 ? 70 : 250; });
    fill(p, kWidth - mm(4.5), 0, kWidth, kHeight, [](int, int) { return 40; });
    fill(p, 0, 0, kWidth, mm(2), [](int, int y) { return 180 + 70 * y / mm(2); });
    return p;
}

TEST(PageEdges, DeskSheetEdgeAndShadowAlongTheBorderBecomePaper) {
    folvane::correction::CorrectedPage page = corrected(sheetWithDeskAround());
    ASSERT_TRUE(!page.failure) << page.failure.detail;
    ASSERT_EQ(page.width, kWidth);
    ASSERT_EQ(page.height, kHeight);
    EXPECT_GE(darkestEdgeLine(page, 1.5), 235) << "a frame in a viewer";
    EXPECT_GE(darkestEdgeLine(page, 4.5), 235) << "the desk's whole width";
    EXPECT_GT(barsInked(page, mm(26), mm(41), kWidth - mm(26), mm(119)), 0.95);
}

// Text close to the edges: 1 mm below the top edge with nothing between; 5 pixels of paper inside
// a sheet edge left as a dark line along the bottom; and a block of dense hatching printed to
// the right edge over 9 mm, of which only the outer band may go.
support::Picture textNearTheEdges() {
    support::Picture p = support::Solid(kWidth, kHeight, 0xFAFAFA);
    fill(p, mm(30), mm(1), mm(80), mm(4), textBars);
    fill(p, 0, kHeight - 3, kWidth, kHeight, [](int, int) { return 30; });
    // The bars' last row is kHeight - 9: 5 rows of paper lie between it and the edge line.
    fill(p, mm(30), kHeight - 3 - 5 - mm(3), mm(80), kHeight - 3 - 5, textBars);
    fill(p, kWidth - mm(9), mm(100), kWidth, mm(130), textBars);
    return p;
}

TEST(PageEdges, TextNearTheEdgeKeepsEveryStroke) {
    folvane::correction::CorrectedPage page = corrected(textNearTheEdges());
    ASSERT_TRUE(!page.failure) << page.failure.detail;
    ASSERT_EQ(page.height, kHeight);
    EXPECT_GT(barsInked(page, mm(31), mm(1), mm(79), mm(4)), 0.95) << "below the top edge";
    EXPECT_GT(barsInked(page, mm(31), kHeight - 8 - mm(3), mm(79), kHeight - 8), 0.95)
        << "inside the sheet's edge";
    EXPECT_FALSE(inkAt(page, kWidth / 2, kHeight - 1)) << "the sheet's edge itself";
    EXPECT_GT(barsInked(page, kWidth - mm(8), mm(101), kWidth - mm(5.5), mm(129)), 0.95)
        << "the hatching inside the outer band";
}

} // namespace
