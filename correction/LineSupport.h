// How much of a line runs along edges, between any two places on it, in constant time: the
// edge test is made once per pixel along each line hypothesis and summed, so that the many
// quadrilaterals built from the same lines cost no further look at the picture.
#pragma once

#include <vector>

#include "correction/Geometry.h"
#include "correction/SearchImage.h"

namespace folvane::correction {

class LineSupport {
public:
    LineSupport(const SearchImage &image, const Line &line);

    // The share of the stretch between the points' feet on the line, leaving out 6% at each
    // end (corners are blurred), that runs along an edge.
    double between(cv::Point2d a, cv::Point2d b) const;

private:
    double position(cv::Point2d p) const { return (p - origin_).dot(direction_); }

    cv::Point2d origin_, direction_;
    int reach_ = 0;           // positions run from -reach_ to reach_
    std::vector<int> prefix_; // prefix_[i]: edges among the first i positions
};

} // namespace folvane::correction
