#include "correction/UprightImage.h"

#include <opencv2/imgproc.hpp>

#include "base/CheckedSize.h"
#include "correction/Limits.h"

namespace correction {

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
    auto rowBytes = CheckedSize::Mul(picture.width, picture.channels);
    if (!rowBytes || picture.stride < *rowBytes) {
        return "the picture's rows (stride " + std::to_string(picture.stride) +
               " bytes) are shorter than its width";
    }
    auto needed = CheckedSize::Mul(picture.stride, picture.height - 1);
    auto total = needed ? CheckedSize::Add(*needed, *rowBytes) : std::nullopt;
    if (!total || *total > picture.size) {
        return "the picture's " + std::to_string(picture.size) + " bytes are fewer than its " +
               std::to_string(picture.height) + " rows need";
    }
    return {};
}

namespace {

// Orientation values say how the stored rows are shown: 2 mirrored, 3 half a turn, 4 upside
// down mirrored, 5 transposed, 6 a quarter clockwise, 7 transversed, 8 a quarter anticlockwise.
cv::Mat turned(const cv::Mat &stored, int orientation) {
    cv::Mat out;
    switch (orientation) {
    case 2:
        cv::flip(stored, out, 1);
        return out;
    case 3:
        cv::rotate(stored, out, cv::ROTATE_180);
        return out;
    case 4:
        cv::flip(stored, out, 0);
        return out;
    case 5:
        cv::transpose(stored, out);
        return out;
    case 6:
        cv::rotate(stored, out, cv::ROTATE_90_CLOCKWISE);
        return out;
    case 7:
        cv::transpose(stored, out);
        cv::flip(out, out, -1);
        return out;
    case 8:
        cv::rotate(stored, out, cv::ROTATE_90_COUNTERCLOCKWISE);
        return out;
    default:
        return stored;
    }
}

} // namespace

cv::Mat uprightRgb(const Picture &picture) {
    const int type = picture.channels == 1 ? CV_8UC1 : CV_8UC3;
    cv::Mat stored(picture.height, picture.width, type, const_cast<uint8_t *>(picture.pixels),
                   picture.stride);
    if (picture.channels == 1) {
        cv::Mat rgb;
        cv::cvtColor(stored, rgb, cv::COLOR_GRAY2RGB);
        return turned(rgb, picture.orientation);
    }
    return turned(stored, picture.orientation);
}

} // namespace correction
