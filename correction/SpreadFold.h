// An open book photographed whole: its two pages side by side on one sheet-like outline, joined
// at the fold, where the paper bends down into the gutter and lies in its shade. The fold is
// where the four-corner page is cut into the book's two pages.
#pragma once

#include <opencv2/core.hpp>

namespace folvane::correction {

// A spread is wider than high, as two pages side by side are: between these ratios of width to
// height (two A4 pages make 1.41, two pages of a slim paperback 1.2).
constexpr double kSpreadLeastAspect = 1.15;
constexpr double kSpreadMostAspect = 1.85;
// The fold lies within this share of the width either side of the middle.
constexpr double kFoldReach = 0.12;
// The gutter's shade: the paper at the fold at least this much darker than the paper of the
// two pages (as a share of their brightness). A crease or a fold printed in the middle of a
// flat landscape sheet stays well under it; a book's gutter, out of the light, well over.
constexpr double kGutterShade = 0.08;

// Where a book's spread folds: the column (0 when the page is no spread) and the light of the
// pages' paper the fold was told by (0..255).
struct Fold {
    int column = 0;
    double paperLight = 0;
};

// The fold of `page` (the four-corner warp of the whole outline, CV_8UC1 or CV_8UC3): text on
// both sides, none across the fold, and the gutter's shade there.
Fold foldOf(const cv::Mat &page);

} // namespace folvane::correction
