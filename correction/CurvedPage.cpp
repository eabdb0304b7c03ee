#include "correction/CurvedPage.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <opencv2/imgproc.hpp>

#include "correction/Reduce.h"
#include "correction/TextLines.h"

namespace folvane::correction {

namespace {

// The ink of the reduced page: darker than its neighbourhood (about 4 mm across at 150 dpi) by
// more than the paper's own grain.
cv::Mat inkOf(const cv::Mat &reduced) {
    cv::Mat grey;
    if (reduced.channels() == 3) {
        cv::cvtColor(reduced, grey, cv::COLOR_RGB2GRAY);
    } else {
        grey = reduced;
    }
    cv::Mat ink;
    cv::adaptiveThreshold(grey, ink, 255, cv::ADAPTIVE_THRESH_MEAN_C, cv::THRESH_BINARY_INV, 25,
                          20);
    return ink;
}

// The largest distance of a row of samples from the straight line through its two ends, over the
// rows that lie among the text lines.
double largestSag(const TextLineModel &model) {
    const cv::Mat &d = model.disparity;
    double largest = 0;
    for (int i = 0; i < d.rows; ++i) {
        double y = static_cast<double>(i) * kDisparityStep;
        if (y < model.firstLine || y > model.lastLine) {
            continue;
        }
        const float *row = d.ptr<float>(i);
        const double first = row[0], last = row[d.cols - 1];
        for (int j = 1; j + 1 < d.cols; ++j) {
            double chord = first + (last - first) * j / (d.cols - 1);
            largest = std::max(largest, std::abs(row[j] - chord));
        }
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
    int factor = std::max(1, static_cast<int>(std::lround(dpi / kCurveModelDpi)));
    cv::Mat reduced = reduceBy(page, factor);
    TextLineModel model = textLineModelOf(inkOf(reduced));
    if (model.disparity.empty()) {
        return curve;
    }
    double scale = static_cast<double>(page.rows) / reduced.rows;
    curve.sag = largestSag(model) / reduced.rows;
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
