// The background of a colour page for mixed raster storage: the cleaned page at about 150 dpi
// with the ink taken out and its place filled by the paper and colour around it, so that the
// background compresses well and the ink, drawn over it, keeps its edges.
#pragma once

#include <opencv2/core.hpp>

namespace folvane::correction {

struct Background {
    cv::Mat rgb; // CV_8UC3
    double dpi = 0;
};

// `colour` is the cleaned page at `dpi`, `ink` its ink mask (255 = ink).
Background makeBackground(const cv::Mat &colour, const cv::Mat &ink, double dpi);

} // namespace folvane::correction
