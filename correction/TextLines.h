// The bend of a page's text lines: the long text lines Leptonica finds on a bilevel copy of the
// page (the middle of each line's ink, column by column), each followed across the page by a
// running median, and from them a vertical disparity over the whole page (how far each point
// lies below where it would be if its line ran straight at its height in the page's middle).
#pragma once

#include <vector>

#include <opencv2/core.hpp>

namespace folvane::correction {

// Fewer long text lines than this give no model: too few to tell a bend from the layout.
constexpr int kMinTextLines = 8;
// Pixels of the bilevel copy between two samples of the disparity.
constexpr int kDisparityStep = 16;

struct TextLineModel {
    // CV_32F, one sample every kDisparityStep pixels of the copy from (0, 0): the vertical
    // disparity in pixels of the copy. Empty when no model could be made.
    cv::Mat disparity;
    // The rows of the copy from the first text line's middle to the last one's: outside them the
    // model is extrapolated.
    double firstLine = 0;
    double lastLine = 0;
    // For each column of samples, the scale at which it shows the page against the middle
    // column: the slope of the text lines' places down that column against their places down the
    // middle, from the lines that reach the column; beyond the text, it goes on as it ran.
    std::vector<double> scale;
    // The first and last columns of samples that text lines' own ink reaches: beyond them,
    // `scale` is extrapolated.
    int firstColumn = 0;
    int lastColumn = 0;
};

// `ink` is CV_8UC1, ink non-zero, at about 100 dpi. Never throws; no model when the page has too
// few text lines or Leptonica fails.
TextLineModel textLineModelOf(const cv::Mat &ink);

} // namespace folvane::correction
