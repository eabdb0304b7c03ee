#include "correction/CornerRefiner.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace folvane::correction {

namespace {

constexpr int kSamples = 48;

cv::Vec3d reducedRgbAt(const SearchImage &image, cv::Point2d p) {
    int x = std::clamp(static_cast<int>(std::lround(p.x)), 0, image.rgb.cols - 1);
    int y = std::clamp(static_cast<int>(std::lround(p.y)), 0, image.rgb.rows - 1);
    const cv::Vec3b &v = image.rgb.at<cv::Vec3b>(y, x);
    return {static_cast<double>(v[0]), static_cast<double>(v[1]), static_cast<double>(v[2])};
}

// Where across the side at `p` the colour turns from the outside's to the inside's most
// steeply, as an offset along `inward`; nothing when no such turn stands out.
std::optional<double> edgeOffset(const UprightImage &upright, cv::Point2d p, cv::Point2d along,
                                 cv::Point2d inward, cv::Vec3d step, int reach) {
    std::vector<double> projected(2 * reach + 1);
    for (int k = -reach; k <= reach; ++k) {
        cv::Vec3d sum(0, 0, 0);
        for (int s = -1; s <= 1; ++s) {
            sum += upright.at(p + inward * static_cast<double>(k) + along * (2.0 * s));
        }
        projected[k + reach] = sum.dot(step) / 3;
    }
    int best = -1;
    double bestSlope = 0;
    for (int i = 1; i < 2 * reach; ++i) {
        double slope = projected[i + 1] - projected[i - 1];
        if (slope > bestSlope) {
            bestSlope = slope;
            best = i;
        }
    }
    // `step` has unit length: the slope is in levels over two pixels.
    if (best <= 1 || best >= 2 * reach - 1 || bestSlope < 2) {
        return std::nullopt;
    }
    double left = projected[best] - projected[best - 2];
    double right = projected[best + 2] - projected[best];
    double denominator = left - 2 * bestSlope + right;
    double shift = std::abs(denominator) > 1e-9 ? 0.5 * (left - right) / denominator : 0;
    return best - reach + std::clamp(shift, -0.5, 0.5);
}

// A total-least-squares line through the points, dropping the points far off it twice.
std::optional<Line> robustLine(std::vector<cv::Point2d> points, size_t needed) {
    for (int round = 0; round < 3; ++round) {
        if (points.size() < needed) {
            return std::nullopt;
        }
        cv::Mat data(static_cast<int>(points.size()), 2, CV_64F);
        for (size_t i = 0; i < points.size(); ++i) {
            data.at<double>(static_cast<int>(i), 0) = points[i].x;
            data.at<double>(static_cast<int>(i), 1) = points[i].y;
        }
        cv::PCA pca(data, cv::noArray(), cv::PCA::DATA_AS_ROW);
        cv::Point2d mean(pca.mean.at<double>(0), pca.mean.at<double>(1));
        cv::Point2d dir(pca.eigenvectors.at<double>(0, 0), pca.eigenvectors.at<double>(0, 1));
        Line line = lineThrough(mean, mean + dir);
        if (round == 2) {
            return line;
        }
        std::vector<double> residuals;
        for (const cv::Point2d &p : points) {
            residuals.push_back(std::abs(line.distance(p)));
        }
        std::vector<double> sorted = residuals;
        std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
        double limit = std::max(1.0, 2.5 * sorted[sorted.size() / 2]);
        std::vector<cv::Point2d> kept;
        for (size_t i = 0; i < points.size(); ++i) {
            if (residuals[i] <= limit) {
                kept.push_back(points[i]);
            }
        }
        points = std::move(kept);
    }
    return std::nullopt;
}

Line refineSide(const UprightImage &upright, const SearchImage &image, cv::Point2d from,
                cv::Point2d to, cv::Point2d reducedFrom, cv::Point2d reducedTo) {
    Line coarse = lineThrough(from, to);
    cv::Point2d along = to - from;
    double length = cv::norm(along);
    cv::Point2d u = along / std::max(1e-9, length);
    cv::Point2d inward(-u.y, u.x);
    cv::Point2d ru = (reducedTo - reducedFrom) / std::max(1e-9, cv::norm(reducedTo - reducedFrom));
    cv::Point2d rin(-ru.y, ru.x);
    cv::Vec3d step(0, 0, 0);
    for (int i = 1; i < 8; ++i) {
        cv::Point2d p = reducedFrom + (reducedTo - reducedFrom) * (i / 8.0);
        step += (reducedRgbAt(image, p + rin * 4.0) - reducedRgbAt(image, p - rin * 4.0)) / 7.0;
    }
    if (cv::norm(step) < 3) {
        return coarse;
    }
    step /= cv::norm(step);
    int reach = static_cast<int>(std::ceil(2.5 * image.scale)) + 3;
    std::vector<cv::Point2d> points;
    for (int i = 0; i < kSamples; ++i) {
        cv::Point2d p = from + along * (0.08 + 0.84 * (i + 0.5) / kSamples);
        if (auto offset = edgeOffset(upright, p, u, inward, step, reach)) {
            points.push_back(p + inward * *offset);
        }
    }
    std::optional<Line> fitted = robustLine(points, kSamples * 35 / 100);
    return fitted ? *fitted : coarse;
}

} // namespace

Quad refineCorners(const UprightImage &upright, const SearchImage &image, const Quad &reduced) {
    Quad coarse;
    for (int i = 0; i < 4; ++i) {
        coarse[i] = image.toFull(reduced[i]);
    }
    std::array<Line, 4> sides;
    for (int i = 0; i < 4; ++i) {
        sides[i] = refineSide(upright, image, coarse[i], coarse[(i + 1) % 4], reduced[i],
                              reduced[(i + 1) % 4]);
    }
    Quad refined;
    double tolerance = 4 * image.scale + 4;
    for (int i = 0; i < 4; ++i) {
        auto corner = intersect(sides[(i + 3) % 4], sides[i]);
        bool near = corner && cv::norm(*corner - coarse[i]) <= tolerance;
        refined[i] = near ? *corner : coarse[i];
    }
    return refined;
}

} // namespace folvane::correction
