#include "correction/LineSupport.h"

#include <algorithm>
#include <cmath>

namespace folvane::correction {

LineSupport::LineSupport(const SearchImage &image, const Line &line) {
    cv::Point2d normal = line.normal();
    direction_ = {-normal.y, normal.x};
    cv::Point2d centre(image.gx.cols / 2.0, image.gx.rows / 2.0);
    origin_ = centre - normal * line.distance(centre);
    reach_ = static_cast<int>(std::ceil(std::hypot(image.gx.cols, image.gx.rows) / 2)) + 1;
    prefix_.assign(2 * reach_ + 2, 0);
    for (int i = 0; i <= 2 * reach_; ++i) {
        cv::Point2d p = origin_ + direction_ * static_cast<double>(i - reach_);
        prefix_[i + 1] = prefix_[i] + (image.edgeAlong(p, normal) ? 1 : 0);
    }
}

double LineSupport::between(cv::Point2d a, cv::Point2d b) const {
    double ta = position(a), tb = position(b);
    if (ta > tb) {
        std::swap(ta, tb);
    }
    double margin = 0.06 * (tb - ta);
    int from = std::clamp(static_cast<int>(std::lround(ta + margin)) + reach_, 0, 2 * reach_ + 1);
    int to = std::clamp(static_cast<int>(std::lround(tb - margin)) + reach_, 0, 2 * reach_ + 1);
    if (to <= from) {
        return 0;
    }
    return static_cast<double>(prefix_[to] - prefix_[from]) / (to - from);
}

} // namespace folvane::correction
