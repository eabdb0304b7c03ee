#include "correction/QuadScore.h"

#include <algorithm>
#include <cmath>

#include <opencv2/imgproc.hpp>

namespace correction {

namespace {

cv::Vec3d labAt(const SearchImage &image, cv::Point2d p) {
    int x = std::clamp(static_cast<int>(std::lround(p.x)), 0, image.lab.cols - 1);
    int y = std::clamp(static_cast<int>(std::lround(p.y)), 0, image.lab.rows - 1);
    const cv::Vec3b &v = image.lab.at<cv::Vec3b>(y, x);
    return {static_cast<double>(v[0]), static_cast<double>(v[1]), static_cast<double>(v[2])};
}

bool inside(const cv::Mat &m, cv::Point p) {
    return p.x >= 0 && p.y >= 0 && p.x < m.cols && p.y < m.rows;
}

// An edge runs along the side at p when, within a pixel across it, the gradient is strong
// and points across the side.
bool edgeAlong(const SearchImage &image, cv::Point2d p, cv::Point2d normal) {
    for (int k = -1; k <= 1; ++k) {
        cv::Point2d q = p + normal * static_cast<double>(k);
        cv::Point at(static_cast<int>(std::lround(q.x)), static_cast<int>(std::lround(q.y)));
        if (!inside(image.gx, at)) {
            continue;
        }
        double gx = image.gx.at<int16_t>(at), gy = image.gy.at<int16_t>(at);
        double across = std::abs(gx * normal.x + gy * normal.y);
        if (across >= image.edgeLevel && across >= 0.87 * std::hypot(gx, gy)) {
            return true;
        }
    }
    return false;
}

SideEvidence sideEvidence(const SearchImage &image, cv::Point2d from, cv::Point2d to) {
    SideEvidence side;
    cv::Point2d along = to - from;
    double length = cv::norm(along);
    if (length < 2) {
        return side;
    }
    cv::Point2d u = along / length;
    cv::Point2d inward(-u.y, u.x); // the quad runs clockwise on screen
    int samples = std::clamp(static_cast<int>(length / 3), 16, 96);
    int edges = 0, parted = 0;
    for (int i = 0; i < samples; ++i) {
        double t = 0.06 + 0.88 * (i + 0.5) / samples;
        cv::Point2d p = from + along * t;
        edges += edgeAlong(image, p, inward) ? 1 : 0;
        cv::Vec3d in = labAt(image, p + inward * 4.0);
        cv::Vec3d deeper = labAt(image, p + inward * 9.0);
        cv::Vec3d out = labAt(image, p - inward * 4.0);
        parted += cv::norm(in - out) >= 6 && cv::norm(in - deeper) <= 10 ? 1 : 0;
        side.inside += in;
        side.outside += out;
    }
    side.edge = static_cast<double>(edges) / samples;
    side.region = static_cast<double>(parted) / samples;
    side.inside /= samples;
    side.outside /= samples;
    return side;
}

// A point of the quad at (u, v) in 0..1 across and down.
cv::Point2d within(const Quad &q, double u, double v) {
    cv::Point2d top = q[0] + (q[1] - q[0]) * u;
    cv::Point2d bottom = q[3] + (q[2] - q[3]) * u;
    return top + (bottom - top) * v;
}

double paperShare(const SearchImage &image, const Quad &quad, cv::Vec3d paper) {
    constexpr int kGrid = 12;
    int paperLike = 0;
    for (int i = 0; i < kGrid; ++i) {
        for (int j = 0; j < kGrid; ++j) {
            double u = 0.1 + 0.8 * (i + 0.5) / kGrid, v = 0.1 + 0.8 * (j + 0.5) / kGrid;
            cv::Vec3d c = labAt(image, within(quad, u, v));
            bool hue = std::abs(c[1] - paper[1]) < 12 && std::abs(c[2] - paper[2]) < 14;
            paperLike += hue && c[0] >= 0.5 * paper[0] ? 1 : 0;
        }
    }
    return static_cast<double>(paperLike) / (kGrid * kGrid);
}

} // namespace

double edgeScore(const SearchImage &image, const Quad &quad) {
    constexpr int kSamples = 12;
    double sum = 0, weakest = 1;
    for (int i = 0; i < 4; ++i) {
        cv::Point2d from = quad[i], along = quad[(i + 1) % 4] - quad[i];
        double length = cv::norm(along);
        if (length < 2) {
            return 0;
        }
        cv::Point2d inward(-along.y / length, along.x / length);
        int edges = 0;
        for (int k = 0; k < kSamples; ++k) {
            edges += edgeAlong(image, from + along * (0.06 + 0.88 * (k + 0.5) / kSamples), inward)
                         ? 1
                         : 0;
        }
        double share = static_cast<double>(edges) / kSamples;
        sum += share;
        weakest = std::min(weakest, share);
    }
    return sum / 4 * (0.5 + 0.5 * weakest);
}

QuadEvidence scoreQuad(const SearchImage &image, const Quad &quad) {
    QuadEvidence e;
    cv::Vec3d paper(0, 0, 0);
    double sum = 0, weakest = 1;
    for (int i = 0; i < 4; ++i) {
        e.sides[i] = sideEvidence(image, quad[i], quad[(i + 1) % 4]);
        paper += e.sides[i].inside / 4.0;
        double q = 0.55 * e.sides[i].edge + 0.45 * e.sides[i].region;
        sum += q;
        weakest = std::min(weakest, q);
    }
    e.paper = paperShare(image, quad, paper);
    double ratio = paper[0] / std::max(1.0, image.brightLevel);
    e.bright = std::clamp((ratio - 0.5) / 0.3, 0.0, 1.0);
    e.score = sum / 4 * (0.4 + 0.6 * weakest) * (0.3 + 0.7 * e.paper) * e.bright;
    return e;
}

double regionFit(const Quad &quad, const cv::Mat &regionMask) {
    if (regionMask.empty()) {
        return 0;
    }
    cv::Mat drawn = cv::Mat::zeros(regionMask.size(), CV_8UC1);
    std::vector<cv::Point> points;
    for (const cv::Point2d &p : quad) {
        points.emplace_back(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y)));
    }
    cv::fillConvexPoly(drawn, points, cv::Scalar(255));
    double both = cv::countNonZero(drawn & regionMask);
    double either = cv::countNonZero(drawn | regionMask);
    return either > 0 ? both / either : 0;
}

} // namespace correction
