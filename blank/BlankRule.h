// Whether a page has nothing on it that a person put there.
//
// The rule, on the page reduced to at most kWorkingSide pixels on its longer side:
//  1. The paper's own level is estimated in blocks (a bright percentile of each, smoothed with
//     its neighbours), so that uneven light, a photo's shading and a scan's gradient are paper.
//     A level far below the page's brightest paper is not paper (a desk, a dark border).
//  2. Each pixel's darkening against that level, as a share of it, is its contrast. A mark is
//     a connected group of pixels of at least kGrowContrast that holds at least one of
//     kSeedContrast: show-through, paper grain and scanner noise stay below the seed level.
//  3. A mark counts unless it is too small (dust, fibres, noise), touches the border band (the
//     sheet's edge, a desk, the scanner's shadow), or is a long thin streak along the page.
//  4. A page without a mark that counts is blank. A page too dark to find its paper in is not.
#pragma once

#include "blank/GreyPage.h"

namespace folvane::blank {

// The longer side, in pixels, the rule reads a page at; every size below is for a page of this
// side and scales with a smaller one.
inline constexpr int kWorkingSide = 1600;
// A mark's darkening against the paper level: every pixel of it at least kGrowContrast, and one
// at least kSeedContrast.
inline constexpr double kSeedContrast = 0.16;
inline constexpr double kGrowContrast = 0.08;
// The smallest mark: this long on its longer side and covering this many pixels.
inline constexpr int kMinMarkLength = 8;
inline constexpr int kMinMarkArea = 12;
// The border band, as a share of each side: marks touching it are the sheet's edge.
inline constexpr double kBorderShare = 0.015;
// A streak runs at least this share of the page along one side and is no thicker on average
// than kStreakWidth pixels.
inline constexpr double kStreakShare = 0.25;
inline constexpr double kStreakWidth = 3.0;
// Paper below this level cannot be told from what is on it.
inline constexpr int kDarkestPaper = 64;

struct BlankVerdict {
    bool blank = false;
    int marks = 0;        // the marks that count
    bool tooDark = false; // no paper level could be found: never called blank
};

// The rule on a page in grey; an empty or malformed page is not blank.
BlankVerdict judgeGreyPage(const GreyPage &page);

} // namespace folvane::blank
