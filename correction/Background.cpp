#include "correction/Background.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <opencv2/imgproc.hpp>

namespace correction {

namespace {

constexpr double kBackgroundDpi = 150;

// Fills the pixels whose weight is 0 from coarser and coarser averages of the weighted ones
// around them (a push-pull fill): holes take the colour of what surrounds them.
void fillHoles(cv::Mat &rgb, cv::Mat &weight) {
    if (cv::countNonZero(weight) == static_cast<int>(weight.total()) ||
        (rgb.cols <= 1 && rgb.rows <= 1)) {
        return;
    }
    cv::Size half(std::max(1, (rgb.cols + 1) / 2), std::max(1, (rgb.rows + 1) / 2));
    cv::Mat weighted, coarse, coarseWeight;
    cv::Mat w3;
    cv::cvtColor(weight, w3, cv::COLOR_GRAY2RGB);
    cv::multiply(rgb, w3, weighted);
    cv::resize(weighted, coarse, half, 0, 0, cv::INTER_AREA);
    cv::resize(weight, coarseWeight, half, 0, 0, cv::INTER_AREA);
    cv::Mat w3c;
    cv::cvtColor(coarseWeight, w3c, cv::COLOR_GRAY2RGB);
    cv::divide(coarse, cv::max(w3c, 1e-6), coarse);
    coarseWeight = (coarseWeight > 1e-6) / 255;
    coarseWeight.convertTo(coarseWeight, CV_32F);
    if (half == rgb.size()) {
        return; // cannot shrink further: whatever is left stays
    }
    fillHoles(coarse, coarseWeight);
    cv::Mat up;
    cv::resize(coarse, up, rgb.size(), 0, 0, cv::INTER_LINEAR);
    for (int y = 0; y < rgb.rows; ++y) {
        const float *w = weight.ptr<float>(y);
        cv::Vec3f *out = rgb.ptr<cv::Vec3f>(y);
        const cv::Vec3f *from = up.ptr<cv::Vec3f>(y);
        for (int x = 0; x < rgb.cols; ++x) {
            if (w[x] <= 0) {
                out[x] = from[x];
            }
        }
    }
    weight.setTo(1.0f);
}

} // namespace

Background makeBackground(const cv::Mat &colour, const cv::Mat &ink, double dpi) {
    Background bg;
    double f = dpi > kBackgroundDpi ? kBackgroundDpi / dpi : 1.0;
    cv::Size size(std::max(1, static_cast<int>(std::lround(colour.cols * f))),
                  std::max(1, static_cast<int>(std::lround(colour.rows * f))));
    bg.dpi = dpi * size.width / std::max(1, colour.cols);
    // The ink, grown by a pixel over its grey fringe, is left out of each pixel's average.
    cv::Mat grown;
    cv::dilate(ink, grown, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3)));
    cv::Mat keep = grown == 0;
    cv::Mat kept = cv::Mat::zeros(colour.size(), colour.type());
    colour.copyTo(kept, keep);
    cv::Mat sum, share;
    cv::resize(kept, sum, size, 0, 0, cv::INTER_AREA);
    cv::resize(keep, share, size, 0, 0, cv::INTER_AREA);
    cv::Mat rgb, weight;
    sum.convertTo(rgb, CV_32FC3);
    share.convertTo(weight, CV_32F, 1.0 / 255);
    // Half a pixel or more of paper or colour gives a trustworthy average; less is a hole.
    for (int y = 0; y < rgb.rows; ++y) {
        float *w = weight.ptr<float>(y);
        cv::Vec3f *p = rgb.ptr<cv::Vec3f>(y);
        for (int x = 0; x < rgb.cols; ++x) {
            if (w[x] >= 0.5f) {
                p[x] /= w[x];
                w[x] = 1.0f;
            } else {
                w[x] = 0.0f;
            }
        }
    }
    fillHoles(rgb, weight);
    rgb.convertTo(bg.rgb, CV_8UC3);
    return bg;
}

} // namespace correction
