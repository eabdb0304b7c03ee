#include "correction/Geometry.h"

#include <algorithm>
#include <cmath>

namespace folvane::correction {

Line lineThrough(cv::Point2d a, cv::Point2d b) {
    cv::Point2d d = b - a;
    double theta = std::atan2(d.x, -d.y); // the normal (-dy, dx) turned to theta
    Line line;
    line.theta = theta;
    if (line.theta < 0) {
        line.theta += CV_PI;
    }
    if (line.theta >= CV_PI) {
        line.theta -= CV_PI;
    }
    line.rho = a.x * std::cos(line.theta) + a.y * std::sin(line.theta);
    return line;
}

std::optional<cv::Point2d> intersect(const Line &a, const Line &b) {
    double c1 = std::cos(a.theta), s1 = std::sin(a.theta);
    double c2 = std::cos(b.theta), s2 = std::sin(b.theta);
    double det = c1 * s2 - s1 * c2;
    if (std::abs(det) < 1e-6) {
        return std::nullopt;
    }
    return cv::Point2d((a.rho * s2 - b.rho * s1) / det, (c1 * b.rho - c2 * a.rho) / det);
}

double angleBetween(const Line &a, const Line &b) {
    double d = std::fmod(std::abs(a.theta - b.theta), CV_PI);
    return std::min(d, CV_PI - d);
}

double quadArea(const Quad &q) {
    double twice = 0;
    for (int i = 0; i < 4; ++i) {
        const cv::Point2d &p = q[i];
        const cv::Point2d &n = q[(i + 1) % 4];
        twice += p.x * n.y - n.x * p.y;
    }
    return std::abs(twice) / 2;
}

bool isConvex(const Quad &q) {
    int sign = 0;
    for (int i = 0; i < 4; ++i) {
        cv::Point2d a = q[(i + 1) % 4] - q[i];
        cv::Point2d b = q[(i + 2) % 4] - q[(i + 1) % 4];
        double cross = a.x * b.y - a.y * b.x;
        int s = cross > 0 ? 1 : cross < 0 ? -1 : 0;
        if (s == 0 || (sign != 0 && s != sign)) {
            return false;
        }
        sign = s;
    }
    return true;
}

std::array<double, 4> cornerAngles(const Quad &q) {
    std::array<double, 4> angles{};
    for (int i = 0; i < 4; ++i) {
        cv::Point2d a = q[(i + 3) % 4] - q[i];
        cv::Point2d b = q[(i + 1) % 4] - q[i];
        double cosine = a.dot(b) / std::max(1e-9, cv::norm(a) * cv::norm(b));
        angles[i] = std::acos(std::clamp(cosine, -1.0, 1.0)) * 180 / CV_PI;
    }
    return angles;
}

Quad ordered(const Quad &q) {
    // Sorted by angle around the centre, starting with the corner nearest the top-left.
    cv::Point2d centre = (q[0] + q[1] + q[2] + q[3]) * 0.25;
    Quad sorted = q;
    std::sort(sorted.begin(), sorted.end(), [&](const cv::Point2d &a, const cv::Point2d &b) {
        return std::atan2(a.y - centre.y, a.x - centre.x) <
               std::atan2(b.y - centre.y, b.x - centre.x);
    });
    // Angles run clockwise on screen from the left (-pi): top-left comes within the first two.
    int first = 0;
    double best = 1e300;
    for (int i = 0; i < 4; ++i) {
        double score = sorted[i].x + sorted[i].y;
        if (score < best) {
            best = score;
            first = i;
        }
    }
    Quad out;
    for (int i = 0; i < 4; ++i) {
        out[i] = sorted[(first + i) % 4];
    }
    return out;
}

Quad toQuad(const Corners &corners) {
    Quad q;
    for (int i = 0; i < 4; ++i) {
        q[i] = {corners[i].x, corners[i].y};
    }
    return q;
}

Corners toCorners(const Quad &quad) {
    Corners c;
    for (int i = 0; i < 4; ++i) {
        c[i] = {quad[i].x, quad[i].y};
    }
    return c;
}

Quad wholePicture(cv::Size size) {
    double right = size.width - 0.5, bottom = size.height - 0.5;
    return {cv::Point2d(-0.5, -0.5), {right, -0.5}, {right, bottom}, {-0.5, bottom}};
}

} // namespace folvane::correction
