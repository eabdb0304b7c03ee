// The reduced copy of a photo the sheet is searched on, with its colour gradient and edges.
#pragma once

#include <opencv2/core.hpp>

#include "correction/UprightImage.h"

namespace folvane::correction {

struct SearchImage {
    cv::Mat rgb;            // reduced and lightly blurred, CV_8UC3
    cv::Mat lab;            // the same in CIE Lab, CV_8UC3
    cv::Mat gx, gy;         // gradient of the channel that changes most at each pixel, CV_16SC1
    cv::Mat edges;          // 255 where that gradient is an edge's, CV_8UC1
    double scale = 1;       // full-resolution pixels per reduced pixel
    double edgeLevel = 0;   // the gradient an edge needs, above the picture's noise
    double brightLevel = 0; // Lab lightness that only the brightest twentieth exceeds

    // A reduced point in full-resolution pixels, and back.
    cv::Point2d toFull(cv::Point2d p) const {
        return (p + cv::Point2d(0.5, 0.5)) * scale - cv::Point2d(0.5, 0.5);
    }
    cv::Point2d toReduced(cv::Point2d p) const {
        return (p + cv::Point2d(0.5, 0.5)) / scale - cv::Point2d(0.5, 0.5);
    }

    // Whether an edge runs at `p` across `normal` (a unit vector): within a pixel across, the
    // gradient is strong and points along the normal.
    bool edgeAlong(cv::Point2d p, cv::Point2d normal) const;
};

// The search copy of a picture: long side at most kSearchLongSide (never enlarged).
SearchImage makeSearchImage(const UprightImage &upright);

} // namespace folvane::correction
