#include "correction/PageCleaner.h"

#include <algorithm>
#include <cmath>

#include <opencv2/imgproc.hpp>

namespace correction {

namespace {

constexpr int kEstimateLongSide = 256; // about a millimetre a pixel on A4

// The paper's colour at each place: the page reduced, every feature darker than the paper
// and narrower than about a centimetre (text, lines, seal strokes) closed over, then smoothed.
cv::Mat paperColour(const cv::Mat &pageRgb) {
    double f = std::min(1.0, kEstimateLongSide / static_cast<double>(std::max(pageRgb.cols, pageRgb.rows)));
    cv::Size size(std::max(1, static_cast<int>(std::lround(pageRgb.cols * f))),
                  std::max(1, static_cast<int>(std::lround(pageRgb.rows * f))));
    cv::Mat small;
    cv::resize(pageRgb, small, size, 0, 0, cv::INTER_AREA);
    int k = std::max(3, std::max(size.width, size.height) / 28) | 1;
    cv::Mat kernel = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(k, k));
    cv::morphologyEx(small, small, cv::MORPH_CLOSE, kernel, cv::Point(-1, -1), 1,
                     cv::BORDER_REPLICATE);
    if (std::min(size.width, size.height) >= 5) {
        cv::medianBlur(small, small, 5);
    }
    cv::GaussianBlur(small, small, cv::Size(0, 0), 2.0, 2.0, cv::BORDER_REPLICATE);
    // Never divide by black: a page too dark to be paper stays as it is.
    cv::max(small, cv::Scalar(24, 24, 24), small);
    cv::Mat full;
    cv::resize(small, full, pageRgb.size(), 0, 0, cv::INTER_LINEAR);
    return full;
}

// Paper (about 235 and up once divided) goes to white, ink gets darker: a level curve.
cv::Mat levels() {
    cv::Mat lut(1, 256, CV_8UC1);
    for (int v = 0; v < 256; ++v) {
        double out = (v - 40.0) * 255.0 / (228.0 - 40.0);
        lut.at<uint8_t>(v) = static_cast<uint8_t>(std::clamp(out, 0.0, 255.0));
    }
    return lut;
}

} // namespace

CleanPage cleanPage(const cv::Mat &pageRgb) {
    CleanPage page;
    cv::Mat paper = paperColour(pageRgb);
    cv::divide(pageRgb, paper, page.colour, 255.0);
    cv::LUT(page.colour, levels(), page.colour);
    cv::cvtColor(page.colour, page.grey, cv::COLOR_RGB2GRAY);
    return page;
}

} // namespace correction
