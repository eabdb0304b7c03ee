// Lines and quadrilaterals in picture coordinates.
#pragma once

#include <array>
#include <cmath>
#include <optional>

#include <opencv2/core.hpp>

#include "correction/Correction.h"

namespace folvane::correction {

// The line x cos(theta) + y sin(theta) = rho; theta in [0, pi).
struct Line {
    double theta = 0;
    double rho = 0;
    double weight = 0; // how much evidence it has (edge pixels voting for it)

    cv::Point2d normal() const { return {std::cos(theta), std::sin(theta)}; }
    double distance(cv::Point2d p) const {
        return p.x * std::cos(theta) + p.y * std::sin(theta) - rho;
    }
};

// The line through two distinct points.
Line lineThrough(cv::Point2d a, cv::Point2d b);
// Where two lines cross; nothing when they are (nearly) parallel.
std::optional<cv::Point2d> intersect(const Line &a, const Line &b);
// The smaller angle between two lines' directions, in radians (0 .. pi/2).
double angleBetween(const Line &a, const Line &b);

using Quad = std::array<cv::Point2d, 4>; // top-left, top-right, bottom-right, bottom-left

double quadArea(const Quad &q);
bool isConvex(const Quad &q);
// The interior angle at each corner, in degrees.
std::array<double, 4> cornerAngles(const Quad &q);
// The four points ordered top-left, top-right, bottom-right, bottom-left of the picture.
Quad ordered(const Quad &q);

Quad toQuad(const Corners &corners);
Corners toCorners(const Quad &quad);
// The corners of a whole picture of this size (the outer edges of its border pixels).
Quad wholePicture(cv::Size size);

} // namespace folvane::correction
