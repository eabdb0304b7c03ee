#include "correction/UprightImage.h"

#include <algorithm>

#include <opencv2/imgproc.hpp>

#include "base/CheckedSize.h"
#include "base/Orientation.h"
#include "correction/Limits.h"
#include "correction/Reduce.h"

namespace folvane::correction {

std::string checkPicture(const Picture &picture) {
    if (picture.pixels == nullptr || picture.width <= 0 || picture.height <= 0) {
        return "the picture has no pixels";
    }
    if (picture.channels != 1 && picture.channels != 3) {
        return "pictures of " + std::to_string(picture.channels) +
               " channels cannot be corrected (1 grey or 3 RGB)";
    }
    if (picture.width > kMaxSide || picture.height > kMaxSide ||
        int64_t{picture.width} * picture.height > kMaxPixels) {
        return "the picture (" + std::to_string(picture.width) + " x " +
               std::to_string(picture.height) + " pixels) is larger than the 64 megapixels " +
               "that can be corrected";
    }
    auto rowBytes = folvane::checked_size::mul(picture.width, picture.channels);
    if (!rowBytes || picture.stride < *rowBytes) {
        return "the picture's rows (stride " + std::to_string(picture.stride) +
               " bytes) are shorter than its width";
    }
    auto needed = folvane::checked_size::mul(picture.stride, picture.height - 1);
    auto total = needed ? folvane::checked_size::add(*needed, *rowBytes) : std::nullopt;
    if (!total || *total > picture.size) {
        return "the picture's " + std::to_string(picture.size) + " bytes are fewer than its " +
               std::to_string(picture.height) + " rows need";
    }
    return {};
}

namespace {

cv::Mat turned(const cv::Mat &stored, int orientation) {
    const folvane::OrientationSteps steps = folvane::stepsOf(orientation);
    static constexpr cv::RotateFlags kTurns[] = {cv::ROTATE_90_CLOCKWISE, cv::ROTATE_180,
                                                 cv::ROTATE_90_COUNTERCLOCKWISE};
    // Each step writes a new matrix: `stored` may be the caller's own pixels.
    cv::Mat mirrored;
    if (steps.mirror) {
        cv::flip(stored, mirrored, 1);
    }
    const cv::Mat &source = steps.mirror ? mirrored : stored;
    if (steps.clockwiseTurns == 0) {
        return source;
    }
    cv::Mat out;
    cv::rotate(source, out, kTurns[steps.clockwiseTurns - 1]);
    return out;
}

} // namespace

UprightImage::UprightImage(const Picture &picture) {
    orientation_ = folvane::normalOrientation(picture.orientation);
    const int type = picture.channels == 1 ? CV_8UC1 : CV_8UC3;
    cv::Mat rows(picture.height, picture.width, type, const_cast<uint8_t *>(picture.pixels),
                 picture.stride);
    if (picture.channels == 1) {
        cv::cvtColor(rows, stored_, cv::COLOR_GRAY2RGB);
    } else {
        stored_ = rows;
    }
    size_ =
        folvane::swapsAxes(orientation_) ? cv::Size(stored_.rows, stored_.cols) : stored_.size();
}

cv::Point2d UprightImage::toStored(cv::Point2d p) const {
    const auto stored =
        folvane::storedPixelOf<double>(orientation_, p.x, p.y, stored_.cols, stored_.rows);
    return {stored.x, stored.y};
}

cv::Mat UprightImage::reduced(int factor) const {
    factor = std::max(1, factor);
    // The upright whole blocks, from the upright top-left corner, found in the stored rows.
    int wide = std::max(1, size_.width / factor) * factor;
    int high = std::max(1, size_.height / factor) * factor;
    cv::Point2d a = toStored({0, 0}), b = toStored({std::min(wide, size_.width) - 1.0,
                                                    std::min(high, size_.height) - 1.0});
    cv::Rect blocks(
        cv::Point(static_cast<int>(std::min(a.x, b.x)), static_cast<int>(std::min(a.y, b.y))),
        cv::Point(static_cast<int>(std::max(a.x, b.x)) + 1,
                  static_cast<int>(std::max(a.y, b.y)) + 1));
    return turned(reduceBy(stored_(blocks), factor), orientation_);
}

cv::Vec3d UprightImage::at(cv::Point2d upright) const {
    cv::Point2d p = toStored(upright);
    double x = std::clamp(p.x, 0.0, stored_.cols - 1.0),
           y = std::clamp(p.y, 0.0, stored_.rows - 1.0);
    int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
    int x1 = std::min(x0 + 1, stored_.cols - 1), y1 = std::min(y0 + 1, stored_.rows - 1);
    double fx = x - x0, fy = y - y0;
    const cv::Vec3b &a = stored_.at<cv::Vec3b>(y0, x0), &b = stored_.at<cv::Vec3b>(y0, x1);
    const cv::Vec3b &c = stored_.at<cv::Vec3b>(y1, x0), &d = stored_.at<cv::Vec3b>(y1, x1);
    cv::Vec3d out;
    for (int i = 0; i < 3; ++i) {
        out[i] = (a[i] * (1 - fx) + b[i] * fx) * (1 - fy) + (c[i] * (1 - fx) + d[i] * fx) * fy;
    }
    return out;
}

} // namespace folvane::correction
