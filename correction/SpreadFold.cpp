#include "correction/SpreadFold.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <opencv2/imgproc.hpp>

#include "correction/Reduce.h"

namespace folvane::correction {

namespace {

// The fold is looked for on a copy this long; text stays apart from the paper at it.
constexpr int kFoldSearchLongSide = 600;
// Of a page's text columns, the inked share under which a column counts as between text.
constexpr double kClearColumn = 0.05;

cv::Mat greyOf(const cv::Mat &page) {
    if (page.channels() != 3) {
        return page;
    }
    cv::Mat grey;
    cv::cvtColor(page, grey, cv::COLOR_RGB2GRAY);
    return grey;
}

// Each column's paper: the brightness three quarters of its pixels (the middle rows, away from
// the outline's edges) stay under, text and all.
std::vector<double> paperLevels(const cv::Mat &grey) {
    const int top = grey.rows / 10, bottom = grey.rows - grey.rows / 10;
    std::vector<double> levels(grey.cols);
    std::vector<uchar> column;
    for (int x = 0; x < grey.cols; ++x) {
        column.clear();
        for (int y = top; y < bottom; ++y) {
            column.push_back(grey.at<uchar>(y, x));
        }
        auto at = column.begin() + static_cast<std::ptrdiff_t>(column.size() * 3 / 4);
        std::nth_element(column.begin(), at, column.end());
        levels[x] = *at;
    }
    return levels;
}

// How many pixels of each column are ink: darker than the paper around them (about 4 mm).
std::vector<int> inkPerColumn(const cv::Mat &grey) {
    const int window = std::max(3, (grey.rows / 50) | 1);
    cv::Mat ink;
    cv::adaptiveThreshold(grey, ink, 255, cv::ADAPTIVE_THRESH_MEAN_C, cv::THRESH_BINARY_INV, window,
                          20);
    std::vector<int> counts(ink.cols, 0);
    for (int y = ink.rows / 10; y < ink.rows - ink.rows / 10; ++y) {
        const uchar *row = ink.ptr<uchar>(y);
        for (int x = 0; x < ink.cols; ++x) {
            counts[x] += row[x] != 0;
        }
    }
    return counts;
}

// The middle of the columns about `darkest` whose paper is no lighter than `level`: a gutter's
// shade can be as dark over a stretch of columns, and the fold is the middle of it.
int middleOfValley(const std::vector<double> &paper, int darkest, double level) {
    int from = darkest, to = darkest;
    while (from > 0 && paper[from - 1] <= level) {
        --from;
    }
    while (to + 1 < static_cast<int>(paper.size()) && paper[to + 1] <= level) {
        ++to;
    }
    return (from + to) / 2;
}

double medianOf(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// Whether the columns [from, to) hold text: a fair share of them inked as text columns are.
bool holdsText(const std::vector<int> &ink, int from, int to, int rows) {
    int inked = 0;
    for (int x = from; x < to; ++x) {
        inked += ink[x] > kClearColumn * rows;
    }
    return inked > (to - from) / 4;
}

} // namespace

Fold foldOf(const cv::Mat &page) {
    const double aspect = static_cast<double>(page.cols) / std::max(1, page.rows);
    if (page.empty() || aspect < kSpreadLeastAspect || aspect > kSpreadMostAspect) {
        return {};
    }
    cv::Mat grey = greyOf(page);
    const int factor = factorFor(grey.size(), kFoldSearchLongSide);
    grey = reduceBy(grey, factor);
    if (grey.rows < 20) {
        return {};
    }
    std::vector<double> paper = paperLevels(grey);
    const std::vector<int> ink = inkPerColumn(grey);
    const int width = grey.cols, reach = static_cast<int>(kFoldReach * width);
    // The darkest paper near the middle, over three columns so that one noisy column is not it.
    int fold = 0;
    double darkest = 1e9;
    for (int x = width / 2 - reach; x <= width / 2 + reach; ++x) {
        double level = (paper[x - 1] + paper[x] + paper[x + 1]) / 3;
        if (level < darkest) {
            darkest = level;
            fold = x;
        }
    }
    const int sideFrom = width / 8, sideTo = width / 2 - reach;
    std::vector<double> left(paper.begin() + sideFrom, paper.begin() + sideTo);
    std::vector<double> right(paper.end() - sideTo, paper.end() - sideFrom);
    const double pages = std::min(medianOf(left), medianOf(right));
    if (darkest > pages * (1 - kGutterShade)) {
        return {};
    }
    fold = middleOfValley(paper, fold, darkest + 0.1 * (pages - darkest));
    // No text runs across the fold, and each page has its own.
    const int gap = std::max(1, width / 100);
    for (int x = fold - gap; x <= fold + gap; ++x) {
        if (ink[x] > kClearColumn * grey.rows) {
            return {};
        }
    }
    if (!holdsText(ink, 0, fold - gap, grey.rows) ||
        !holdsText(ink, fold + gap, width, grey.rows)) {
        return {};
    }
    return {fold * factor + factor / 2, medianOf(paper)};
}

} // namespace folvane::correction
