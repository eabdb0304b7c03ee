#include "correction/Reduce.h"

#include <algorithm>

#include <opencv2/imgproc.hpp>

namespace folvane::correction {

int factorFor(cv::Size size, int longSide) {
    int longest = std::max(size.width, size.height);
    return std::max(1, (longest + longSide - 1) / std::max(1, longSide));
}

cv::Mat reduceBy(const cv::Mat &picture, int factor) {
    if (factor <= 1) {
        return picture;
    }
    cv::Size size(std::max(1, picture.cols / factor), std::max(1, picture.rows / factor));
    cv::Rect whole(0, 0, std::min(picture.cols, size.width * factor),
                   std::min(picture.rows, size.height * factor));
    cv::Mat reduced;
    cv::resize(picture(whole), reduced, size, 0, 0, cv::INTER_AREA);
    return reduced;
}

} // namespace folvane::correction
