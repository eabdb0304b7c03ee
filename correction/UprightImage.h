// The caller's picture checked against its stated size and the ceilings, and seen upright.
// The upright picture is never made whole: reductions turn only their small result, samples
// and the flattening warp map upright places back to the stored rows.
#pragma once

#include <string>

#include <opencv2/core.hpp>

#include "correction/Correction.h"

namespace folvane::correction {

// Empty when the picture can be used; else why not.
std::string checkPicture(const Picture &picture);

class UprightImage {
public:
    // `picture` must have passed checkPicture(). Shares the caller's pixels when they are RGB
    // (read only, for the call's duration); grey ones are copied to RGB.
    explicit UprightImage(const Picture &picture);

    cv::Size size() const { return size_; }
    const cv::Mat &stored() const { return stored_; }

    // Where an upright place lies in the stored rows (pixel centres at whole numbers).
    cv::Point2d toStored(cv::Point2d upright) const;

    // The upright picture reduced by a whole factor: each pixel the mean of a factor x factor
    // block, counted from the upright top-left corner (so reduced pixel (x, y) covers upright
    // pixels from factor * x).
    cv::Mat reduced(int factor) const;

    // The upright picture's colour at a place, interpolated between pixels.
    cv::Vec3d at(cv::Point2d upright) const;

private:
    cv::Mat stored_; // CV_8UC3
    int orientation_ = 1;
    cv::Size size_;
};

} // namespace folvane::correction
