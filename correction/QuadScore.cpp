#include "correction/QuadScore.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <opencv2/imgproc.hpp>

namespace folvane::correction {

namespace {

cv::Vec3d labAt(const SearchImage &image, cv::Point2d p) {
    int x = std::clamp(static_cast<int>(std::lround(p.x)), 0, image.lab.cols - 1);
    int y = std::clamp(static_cast<int>(std::lround(p.y)), 0, image.lab.rows - 1);
    const cv::Vec3b &v = image.lab.at<cv::Vec3b>(y, x);
    return {static_cast<double>(v[0]), static_cast<double>(v[1]), static_cast<double>(v[2])};
}

// Colours sampled across one side: just inside, deeper inside, and just outside.
struct SideSamples {
    std::vector<cv::Vec3d> in, deeper, out;
    int edges = 0;
};

SideSamples sampleSide(const SearchImage &image, cv::Point2d from, cv::Point2d to) {
    SideSamples side;
    cv::Point2d along = to - from;
    double length = cv::norm(along);
    if (length < 2) {
        return side;
    }
    cv::Point2d u = along / length;
    cv::Point2d inward(-u.y, u.x); // the quad runs clockwise on screen
    int samples = std::clamp(static_cast<int>(length / 3), 16, 96);
    for (int i = 0; i < samples; ++i) {
        cv::Point2d p = from + along * (0.06 + 0.88 * (i + 0.5) / samples);
        side.edges += image.edgeAlong(p, inward) ? 1 : 0;
        side.in.push_back(labAt(image, p + inward * 4.0));
        side.deeper.push_back(labAt(image, p + inward * 9.0));
        side.out.push_back(labAt(image, p - inward * 4.0));
    }
    return side;
}

// The paper's colour: the median, channel by channel, of what lies just inside the sides.
cv::Vec3d medianInside(const std::array<SideSamples, 4> &sides) {
    cv::Vec3d paper;
    for (int c = 0; c < 3; ++c) {
        std::vector<double> values;
        for (const SideSamples &side : sides) {
            for (const cv::Vec3d &v : side.in) {
                values.push_back(v[c]);
            }
        }
        if (values.empty()) {
            return {0, 0, 0};
        }
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        paper[c] = values[values.size() / 2];
    }
    return paper;
}

// Paper's hue, and not much darker than the paper (a shadow may fall on it).
bool paperLike(const cv::Vec3d &c, const cv::Vec3d &paper) {
    return std::abs(c[1] - paper[1]) <= 6 && std::abs(c[2] - paper[2]) <= 7 &&
           c[0] >= 0.55 * paper[0];
}

// Along a sheet's side the paper just inside is even and of the paper's colour, and what lies
// just outside differs from it and is not more of the same paper (as it is along a line of
// the sheet's own text or table).
SideEvidence judgeSide(const SideSamples &side, const cv::Vec3d &paper) {
    SideEvidence e;
    size_t n = side.in.size();
    if (n == 0) {
        return e;
    }
    int parted = 0;
    for (size_t i = 0; i < n; ++i) {
        const cv::Vec3d &in = side.in[i];
        const cv::Vec3d &out = side.out[i];
        bool outsideIsPaper = paperLike(out, paper) && out[0] >= 0.85 * in[0];
        parted += cv::norm(in - out) >= 6 && cv::norm(in - side.deeper[i]) <= 10 &&
                          paperLike(in, paper) && !outsideIsPaper
                      ? 1
                      : 0;
        e.inside += in / static_cast<double>(n);
        e.outside += side.out[i] / static_cast<double>(n);
    }
    e.edge = static_cast<double>(side.edges) / n;
    e.region = static_cast<double>(parted) / n;
    return e;
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
            // Text, grey at this size, counts as paper: only its lightness differs.
            bool hue = std::abs(c[1] - paper[1]) <= 8 && std::abs(c[2] - paper[2]) <= 9;
            paperLike += hue && c[0] >= 0.5 * paper[0] ? 1 : 0;
        }
    }
    return static_cast<double>(paperLike) / (kGrid * kGrid);
}

} // namespace

QuadEvidence scoreQuad(const SearchImage &image, const Quad &quad) {
    QuadEvidence e;
    std::array<SideSamples, 4> samples;
    for (int i = 0; i < 4; ++i) {
        samples[i] = sampleSide(image, quad[i], quad[(i + 1) % 4]);
    }
    cv::Vec3d paper = medianInside(samples);
    double sum = 0, weakest = 1;
    for (int i = 0; i < 4; ++i) {
        e.sides[i] = judgeSide(samples[i], paper);
        double q = 0.5 * e.sides[i].edge + 0.5 * e.sides[i].region;
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

} // namespace folvane::correction
