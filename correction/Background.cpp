#include "correction/Background.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include <opencv2/imgproc.hpp>

namespace folvane::correction {

namespace {

constexpr double kBackgroundDpi = 150;

// Fills the pixels whose weight is 0 with the mean of the weighted ones around them, looking
// further and further out until every hole has some: holes take the colour of what surrounds
// them. The means are taken from the weighted pixels alone, never from holes filled by a smaller
// box. What is still empty then (a page all ink) turns white. One channel at a time, so that a
// box's sums take a third of the memory.
void fillHoles(cv::Mat &rgb, const cv::Mat &weight) {
    cv::Mat hole = weight <= 0;
    cv::Mat planes[3];
    cv::split(rgb, planes); // 0 in the holes
    for (int box : {9, 33, 129}) {
        if (cv::countNonZero(hole) == 0) {
            return;
        }
        cv::Mat count, sum;
        cv::boxFilter(weight, count, CV_32F, cv::Size(box, box), cv::Point(-1, -1), false);
        for (int c = 0; c < 3; ++c) {
            cv::boxFilter(planes[c], sum, CV_32F, cv::Size(box, box), cv::Point(-1, -1), false);
            for (int y = 0; y < rgb.rows; ++y) {
                const uint8_t *h = hole.ptr<uint8_t>(y);
                const float *n = count.ptr<float>(y), *s = sum.ptr<float>(y);
                uint8_t *out = rgb.ptr<uint8_t>(y);
                for (int x = 0; x < rgb.cols; ++x) {
                    if (h[x] && n[x] > 0.5f) {
                        out[3 * x + c] = cv::saturate_cast<uint8_t>(s[x] / n[x]);
                    }
                }
            }
        }
        hole &= count <= 0.5f;
    }
    rgb.setTo(cv::Scalar(255, 255, 255), hole);
}

} // namespace

Background makeBackground(const cv::Mat &colour, const cv::Mat &ink, double dpi) {
    Background bg;
    double f = dpi > kBackgroundDpi ? kBackgroundDpi / dpi : 1.0;
    cv::Size size(std::max(1, static_cast<int>(std::lround(colour.cols * f))),
                  std::max(1, static_cast<int>(std::lround(colour.rows * f))));
    bg.dpi = dpi * size.width / std::max(1, colour.cols);
    // The ink, grown by a pixel over its grey fringe, is left out of each block's mean.
    cv::Mat grown;
    cv::dilate(ink, grown, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3)));
    cv::Mat rgb = cv::Mat::zeros(size, CV_32FC3), weight = cv::Mat::zeros(size, CV_32FC1);
    // Which block each column and row falls in, and how many pixels each block gets.
    std::vector<int> column(colour.cols), row(colour.rows);
    std::vector<float> columnsIn(size.width, 0), rowsIn(size.height, 0);
    for (int x = 0; x < colour.cols; ++x) {
        column[x] = static_cast<int>(static_cast<int64_t>(x) * size.width / colour.cols);
        columnsIn[column[x]] += 1;
    }
    for (int y = 0; y < colour.rows; ++y) {
        row[y] = static_cast<int>(static_cast<int64_t>(y) * size.height / colour.rows);
        rowsIn[row[y]] += 1;
    }
    for (int y = 0; y < colour.rows; ++y) {
        const cv::Vec3b *in = colour.ptr<cv::Vec3b>(y);
        const uint8_t *skip = grown.ptr<uint8_t>(y);
        cv::Vec3f *sum = rgb.ptr<cv::Vec3f>(row[y]);
        float *kept = weight.ptr<float>(row[y]);
        for (int x = 0; x < colour.cols; ++x) {
            if (!skip[x]) {
                sum[column[x]] += cv::Vec3f(in[x][0], in[x][1], in[x][2]);
                kept[column[x]] += 1;
            }
        }
    }
    // Half a block or more of paper or colour gives a trustworthy mean; less is a hole.
    bg.rgb.create(size, CV_8UC3);
    for (int y = 0; y < size.height; ++y) {
        const cv::Vec3f *p = rgb.ptr<cv::Vec3f>(y);
        cv::Vec3b *mean = bg.rgb.ptr<cv::Vec3b>(y);
        float *w = weight.ptr<float>(y);
        for (int x = 0; x < size.width; ++x) {
            bool trusted = w[x] >= 0.5f * columnsIn[x] * rowsIn[y] && w[x] > 0;
            mean[x] = trusted ? cv::Vec3b(p[x] / w[x]) : cv::Vec3b(0, 0, 0);
            w[x] = trusted ? 1.0f : 0.0f;
        }
    }
    rgb.release();
    fillHoles(bg.rgb, weight);
    return bg;
}

} // namespace folvane::correction
