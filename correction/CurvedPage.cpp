#include "correction/CurvedPage.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <opencv2/imgproc.hpp>

#include "correction/TextLines.h"

namespace folvane::correction {

namespace {

// The largest share of the reduced copy that may be ink for the model to be made.
constexpr double kMostInk = 0.25;

// The page in grey at kCurveModelDpi. Grey first: reducing one channel by a factor that is not
// a whole number costs a third of reducing three.
cv::Mat reducedGrey(const cv::Mat &page, double dpi) {
    cv::Mat grey;
    if (page.channels() == 3) {
        cv::cvtColor(page, grey, cv::COLOR_RGB2GRAY);
    } else {
        grey = page;
    }
    double scale = dpi > kCurveModelDpi ? kCurveModelDpi / dpi : 1.0;
    if (scale == 1.0) {
        return grey;
    }
    cv::Size size(std::max(1, static_cast<int>(std::lround(page.cols * scale))),
                  std::max(1, static_cast<int>(std::lround(page.rows * scale))));
    cv::Mat reduced;
    cv::resize(grey, reduced, size, 0, 0, cv::INTER_AREA);
    return reduced;
}

// The ink of the reduced page: darker than its neighbourhood (about 4 mm across) by more than
// the paper's own grain.
cv::Mat inkOf(const cv::Mat &grey, double dpi) {
    int window = static_cast<int>(std::lround(4.2 / 25.4 * dpi)) | 1;
    cv::Mat ink;
    cv::adaptiveThreshold(grey, ink, 255, cv::ADAPTIVE_THRESH_MEAN_C, cv::THRESH_BINARY_INV,
                          std::max(3, window), 20);
    return ink;
}

// How far the page's text lines sag from the straight line through their ends, as most of them
// do: at each column the median, over the rows among the lines, of each row's distance from its
// chord, and the largest of those. One line's wobble (its letters' ascenders and descenders, a
// heading's larger type) does not count; a bend that most lines have does, whichever way each
// bends (seen from a camera above, lines above its axis bow one way and lines below the other).
double largestSag(const TextLineModel &model) {
    const cv::Mat &d = model.disparity;
    std::vector<std::vector<float>> byColumn(d.cols);
    for (int i = 0; i < d.rows; ++i) {
        double y = static_cast<double>(i) * kDisparityStep;
        if (y < model.firstLine || y > model.lastLine) {
            continue;
        }
        const float *row = d.ptr<float>(i);
        const double first = row[0], last = row[d.cols - 1];
        for (int j = 1; j + 1 < d.cols; ++j) {
            double chord = first + (last - first) * j / (d.cols - 1);
            byColumn[j].push_back(static_cast<float>(std::abs(row[j] - chord)));
        }
    }
    double largest = 0;
    for (std::vector<float> &column : byColumn) {
        if (column.empty()) {
            continue;
        }
        std::nth_element(column.begin(), column.begin() + column.size() / 2, column.end());
        largest = std::max(largest, static_cast<double>(column[column.size() / 2]));
    }
    return largest;
}

// Linear interpolation positions along one axis: the sample below each page pixel and the
// weight of the one after it, samples every `step` pixels, held at the last sample.
void samplePositions(int pixels, double step, int samples, std::vector<int> &index,
                     std::vector<float> &weight) {
    index.resize(pixels);
    weight.resize(pixels);
    for (int p = 0; p < pixels; ++p) {
        double at = std::min(p / step, static_cast<double>(samples - 1));
        int i = std::min(static_cast<int>(at), samples - 2);
        index[p] = i;
        weight[p] = static_cast<float>(at - i);
    }
}

} // namespace

PageCurve pageCurveOf(const cv::Mat &page, double dpi) {
    PageCurve curve;
    if (page.empty()) {
        return curve;
    }
    cv::Mat ink = inkOf(reducedGrey(page, dpi), std::min(dpi, kCurveModelDpi));
    // Text, even dense Chinese, inks a small share of a page; a copy with more is a picture, a
    // texture or noise, in which "lines" found would bend the page for nothing.
    if (cv::countNonZero(ink) > ink.total() * kMostInk) {
        return curve;
    }
    TextLineModel model = textLineModelOf(ink);
    if (model.disparity.empty()) {
        return curve;
    }
    double scale = static_cast<double>(page.rows) / ink.rows;
    curve.sag = largestSag(model) / ink.rows;
    curve.disparity = model.disparity * scale;
    curve.step = kDisparityStep * scale;
    return curve;
}

cv::Mat straightened(const cv::Mat &page, const PageCurve &curve) {
    const cv::Mat &d = curve.disparity;
    std::vector<int> column, row;
    std::vector<float> across, down;
    samplePositions(page.cols, curve.step, d.cols, column, across);
    samplePositions(page.rows, curve.step, d.rows, row, down);
    cv::Mat mapX(page.size(), CV_32F), mapY(page.size(), CV_32F);
    for (int y = 0; y < page.rows; ++y) {
        const float *above = d.ptr<float>(row[y]);
        const float *below = d.ptr<float>(row[y] + 1);
        const float wy = down[y];
        float *xs = mapX.ptr<float>(y);
        float *ys = mapY.ptr<float>(y);
        for (int x = 0; x < page.cols; ++x) {
            const int j = column[x];
            const float wx = across[x];
            float top = above[j] + (above[j + 1] - above[j]) * wx;
            float bottom = below[j] + (below[j + 1] - below[j]) * wx;
            xs[x] = static_cast<float>(x);
            ys[x] = static_cast<float>(y) - (top + (bottom - top) * wy);
        }
    }
    cv::Mat flat;
    cv::remap(page, flat, mapX, mapY, cv::INTER_LINEAR, cv::BORDER_REPLICATE);
    return flat;
}

} // namespace folvane::correction
