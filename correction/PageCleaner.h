// Evens a flattened page's light: the paper's own colour, shadows and fall-off included, is
// estimated on a reduced copy and divided out, so the paper turns white from corner to corner
// while ink keeps its darkness and colour keeps its hue.
#pragma once

#include <opencv2/core.hpp>

namespace folvane::correction {

struct CleanPage {
    cv::Mat colour; // CV_8UC3, paper white
    cv::Mat grey;   // CV_8UC1, the same in grey
};

// Cleans the page in place: `pageRgb`'s pixels become the cleaned colour, so that a page's
// worth of memory is not held twice. Pass a copy (clone()) to keep the original.
CleanPage cleanPage(cv::Mat pageRgb);

} // namespace folvane::correction
