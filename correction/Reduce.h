// Reducing a picture by a whole factor: each output pixel the mean of a factor x factor block.
// OpenCV's area reduction has a fast path only for whole factors; the few rows and columns a
// whole number of blocks leaves over at the right and bottom are dropped.
#pragma once

#include <opencv2/core.hpp>

namespace folvane::correction {

// The factor that brings the long side of `size` to at most `longSide` pixels (at least 1).
int factorFor(cv::Size size, int longSide);

// The picture reduced by `factor`; at least 1 x 1. Factor 1 returns the picture itself.
cv::Mat reduceBy(const cv::Mat &picture, int factor);

} // namespace folvane::correction
