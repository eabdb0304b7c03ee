// The blank-page rule at its edges: marks just on either side of each threshold, on a page of
// the rule's working side with paper noise, so that every case also shows the noise is paper.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "blank/BlankRule.h"

using folvane::blank::BlankVerdict;
using folvane::blank::GreyPage;
using folvane::blank::judgeGreyPage;

namespace {

constexpr int kWidth = 1130; // an A4 page at the working side
constexpr int kHeight = folvane::blank::kWorkingSide;
constexpr int kPaper = 232;

// Paper with grain: every pixel within a few levels of kPaper, and a light fall from top to
// bottom, as a scanner's lamp or a photo's light gives.
GreyPage paper(double fall = 0.0, int grain = 5) {
    GreyPage page;
    page.width = kWidth;
    page.height = kHeight;
    page.pixels.resize(static_cast<std::size_t>(kWidth) * kHeight);
    uint32_t random = 7;
    for (int y = 0; y < kHeight; ++y) {
        const int level = static_cast<int>(kPaper * (1.0 - fall * y / kHeight));
        for (int x = 0; x < kWidth; ++x) {
            random = random * 1664525u + 1013904223u;
            const int noise = static_cast<int>((random >> 16) % (2 * grain + 1)) - grain;
            page.pixels[static_cast<std::size_t>(y) * kWidth + x] =
                static_cast<uint8_t>(std::clamp(level + noise, 0, 255));
        }
    }
    return page;
}

// A box darkened to `share` below the paper around it (0.2: 20% darker).
void darken(GreyPage &page, int left, int top, int width, int height, double share) {
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            uint8_t &pixel = page.pixels[static_cast<std::size_t>(y) * page.width + x];
            pixel = static_cast<uint8_t>(std::lround(pixel * (1.0 - share)));
        }
    }
}

bool blank(const GreyPage &page) {
    return judgeGreyPage(page).blank;
}

} // namespace

TEST(BlankRule, PaperWithGrainAndUnevenLightIsBlank) {
    EXPECT_TRUE(blank(paper()));
    EXPECT_TRUE(blank(paper(0.15, 8)));
}

TEST(BlankRule, ContrastJustEitherSideOfTheSeed) {
    // A tick of 3 x 20 pixels, as faint as a light pencil stroke and just fainter: show-through.
    GreyPage above = paper();
    darken(above, 500, 700, 3, 20, folvane::blank::kSeedContrast + 0.04);
    EXPECT_FALSE(blank(above));
    GreyPage below = paper();
    darken(below, 500, 700, 3, 20, folvane::blank::kSeedContrast - 0.04);
    EXPECT_TRUE(blank(below));
}

TEST(BlankRule, ShowThroughOfAWholePageOfTextIsBlank) {
    GreyPage page = paper();
    for (int line = 0; line < 40; ++line) {
        for (int word = 0; word < 12; ++word) {
            darken(page, 120 + word * 75, 150 + line * 32, 55, 12, 0.10);
        }
    }
    EXPECT_TRUE(blank(page));
    darken(page, 600, 1400, 30, 14, 0.5); // and a page number on it
    EXPECT_FALSE(blank(page));
}

TEST(BlankRule, SizeJustEitherSideOfTheSmallest) {
    // A dot of 8 x 2 pixels (long enough, 16 pixels) counts; one pixel shorter does not.
    GreyPage long_enough = paper();
    darken(long_enough, 400, 400, folvane::blank::kMinMarkLength, 2, 0.5);
    EXPECT_FALSE(blank(long_enough));
    GreyPage too_short = paper();
    darken(too_short, 400, 400, folvane::blank::kMinMarkLength - 1, 2, 0.5);
    EXPECT_TRUE(blank(too_short));
    // Long enough but too thin to cover kMinMarkArea: a fibre.
    GreyPage fibre = paper();
    darken(fibre, 400, 400, 11, 1, 0.5);
    EXPECT_TRUE(blank(fibre));
}

TEST(BlankRule, BorderBandIsDiscountedButNotJustInsideIt) {
    const int band = static_cast<int>(std::lround(folvane::blank::kBorderShare * kHeight));
    GreyPage inBand = paper();
    darken(inBand, 500, kHeight - band - 5, 20, 6, 0.6); // reaches one pixel into the band
    EXPECT_TRUE(blank(inBand));
    GreyPage inside = paper();
    darken(inside, 500, kHeight - band - 7, 20, 6, 0.6);
    EXPECT_FALSE(blank(inside));
    // A dark edge all along the side: the scanner's lid, a desk.
    GreyPage edge = paper();
    darken(edge, 0, 0, 60, kHeight, 0.7);
    EXPECT_TRUE(blank(edge));
}

TEST(BlankRule, LongThinStreakIsDiscountedButAShorterLineCounts) {
    const int streak = static_cast<int>(kHeight * folvane::blank::kStreakShare) + 2;
    GreyPage page = paper();
    darken(page, 300, 400, 2, streak, 0.3);
    EXPECT_TRUE(blank(page));
    GreyPage line = paper();
    darken(line, 300, 400, 2, streak - 20, 0.3);
    EXPECT_FALSE(blank(line));
    // As long, but thick: a bar someone drew, not a streak.
    GreyPage bar = paper();
    darken(bar, 300, 400, 8, streak, 0.3);
    EXPECT_FALSE(blank(bar));
}

TEST(BlankRule, LargeDarkMarkInsideThePageCounts) {
    // A printed photo far larger than the blocks the paper is found in is no paper.
    GreyPage page = paper();
    darken(page, 300, 300, 400, 400, 0.6);
    EXPECT_FALSE(blank(page));
}

TEST(BlankRule, TooDarkOrEmptyPagesAreNotBlank) {
    GreyPage dark = paper();
    for (uint8_t &pixel : dark.pixels) {
        pixel /= 5;
    }
    const BlankVerdict verdict = judgeGreyPage(dark);
    EXPECT_FALSE(verdict.blank);
    EXPECT_TRUE(verdict.tooDark);
    EXPECT_FALSE(blank(GreyPage{}));
    GreyPage wrongSize = paper();
    wrongSize.pixels.pop_back();
    EXPECT_FALSE(blank(wrongSize));
}

TEST(BlankRule, LargerPagesAreReducedFirstAndJudgedAlike) {
    // The same page at twice the working side: a stamp still counts, noise still does not.
    GreyPage large;
    large.width = 2 * kWidth;
    large.height = 2 * kHeight;
    large.pixels.assign(static_cast<std::size_t>(large.width) * large.height, kPaper);
    EXPECT_TRUE(blank(large));
    darken(large, 1000, 1000, 60, 60, 0.4);
    EXPECT_FALSE(blank(large));
}
