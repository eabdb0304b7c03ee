// Evens a flattened page's light: the paper's own colour, shadows and fall-off included, is
// estimated on a reduced copy and divided out, so the paper turns white from corner to corner
// while ink keeps its darkness and colour keeps its hue.
#pragma once

#include <opencv2/core.hpp>

namespace correction {

struct CleanPage {
    cv::Mat colour; // CV_8UC3, paper white
    cv::Mat grey;   // CV_8UC1, the same in grey
};

CleanPage cleanPage(const cv::Mat &pageRgb);

} // namespace correction
