#include "correction/SearchImage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include <opencv2/imgproc.hpp>

#include "correction/Limits.h"
#include "correction/Reduce.h"

namespace folvane::correction {

namespace {

// Per pixel, the gradient of whichever of the three channels changes most there: a white
// sheet on a pale table may differ more in hue than in brightness.
void strongestGradient(const cv::Mat &rgb, cv::Mat &gx, cv::Mat &gy) {
    cv::Mat channels[3], dx[3], dy[3];
    cv::split(rgb, channels);
    for (int c = 0; c < 3; ++c) {
        cv::Sobel(channels[c], dx[c], CV_16S, 1, 0, 3);
        cv::Sobel(channels[c], dy[c], CV_16S, 0, 1, 3);
    }
    gx.create(rgb.size(), CV_16SC1);
    gy.create(rgb.size(), CV_16SC1);
    for (int y = 0; y < rgb.rows; ++y) {
        const int16_t *x0 = dx[0].ptr<int16_t>(y), *x1 = dx[1].ptr<int16_t>(y),
                      *x2 = dx[2].ptr<int16_t>(y);
        const int16_t *y0 = dy[0].ptr<int16_t>(y), *y1 = dy[1].ptr<int16_t>(y),
                      *y2 = dy[2].ptr<int16_t>(y);
        int16_t *ox = gx.ptr<int16_t>(y), *oy = gy.ptr<int16_t>(y);
        for (int x = 0; x < rgb.cols; ++x) {
            int m0 = x0[x] * x0[x] + y0[x] * y0[x];
            int m1 = x1[x] * x1[x] + y1[x] * y1[x];
            int m2 = x2[x] * x2[x] + y2[x] * y2[x];
            int best = m0 >= m1 && m0 >= m2 ? 0 : m1 >= m2 ? 1 : 2;
            const int16_t *bx[] = {x0, x1, x2}, *by[] = {y0, y1, y2};
            ox[x] = bx[best][x];
            oy[x] = by[best][x];
        }
    }
}

// The gradient magnitude a quarter of the pixels stay under: the flat paper of a sheet covers
// that much of a photo of it, so this measures noise rather than a desk's texture.
double noiseLevel(const cv::Mat &gx, const cv::Mat &gy) {
    std::vector<int> histogram(2048, 0);
    for (int y = 0; y < gx.rows; ++y) {
        const int16_t *px = gx.ptr<int16_t>(y), *py = gy.ptr<int16_t>(y);
        for (int x = 0; x < gx.cols; ++x) {
            int m = static_cast<int>(std::hypot(px[x], py[x]));
            ++histogram[std::min(m, 2047)];
        }
    }
    long quarter = static_cast<long>(gx.total()) / 4, seen = 0;
    for (int m = 0; m < 2048; ++m) {
        seen += histogram[m];
        if (seen > quarter) {
            return m;
        }
    }
    return 2047;
}

double lightnessPercentile(const cv::Mat &lab, double fraction) {
    std::vector<int> histogram(256, 0);
    for (int y = 0; y < lab.rows; ++y) {
        const cv::Vec3b *row = lab.ptr<cv::Vec3b>(y);
        for (int x = 0; x < lab.cols; ++x) {
            ++histogram[row[x][0]];
        }
    }
    long target = static_cast<long>(lab.total() * fraction), seen = 0;
    for (int v = 0; v < 256; ++v) {
        seen += histogram[v];
        if (seen > target) {
            return v;
        }
    }
    return 255;
}

// CIE Lab of sRGB pixels, each channel scaled to a byte as OpenCV does (L * 255 / 100, a and
// b + 128). OpenCV's own conversion builds tables on first use that cost more than a whole
// search; this one needs only two small tables.
cv::Mat labOf(const cv::Mat &rgb) {
    constexpr int kSteps = 4096;
    static const auto tables = [] {
        std::pair<std::array<float, 256>, std::array<float, kSteps + 1>> t;
        for (int v = 0; v < 256; ++v) {
            double c = v / 255.0;
            t.first[v] =
                static_cast<float>(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        for (int i = 0; i <= kSteps; ++i) {
            double x = static_cast<double>(i) / kSteps;
            t.second[i] = static_cast<float>(x > 0.008856 ? std::cbrt(x) : 7.787 * x + 16.0 / 116);
        }
        return t;
    }();
    const auto &linear = tables.first;
    auto f = [&](float x) {
        return tables.second[std::clamp(static_cast<int>(x * kSteps + 0.5f), 0, kSteps)];
    };
    cv::Mat lab(rgb.size(), CV_8UC3);
    for (int y = 0; y < rgb.rows; ++y) {
        const cv::Vec3b *in = rgb.ptr<cv::Vec3b>(y);
        cv::Vec3b *out = lab.ptr<cv::Vec3b>(y);
        for (int x = 0; x < rgb.cols; ++x) {
            float r = linear[in[x][0]], g = linear[in[x][1]], b = linear[in[x][2]];
            float fx = f((0.4124f * r + 0.3576f * g + 0.1805f * b) / 0.9505f);
            float fy = f(0.2126f * r + 0.7152f * g + 0.0722f * b);
            float fz = f((0.0193f * r + 0.1192f * g + 0.9505f * b) / 1.089f);
            out[x] = cv::Vec3b(cv::saturate_cast<uint8_t>((116 * fy - 16) * 2.55f),
                               cv::saturate_cast<uint8_t>(500 * (fx - fy) + 128),
                               cv::saturate_cast<uint8_t>(200 * (fy - fz) + 128));
        }
    }
    return lab;
}

} // namespace

bool SearchImage::edgeAlong(cv::Point2d p, cv::Point2d normal) const {
    for (int k = -1; k <= 1; ++k) {
        cv::Point2d q = p + normal * static_cast<double>(k);
        int x = static_cast<int>(std::lround(q.x)), y = static_cast<int>(std::lround(q.y));
        if (x < 0 || y < 0 || x >= gx.cols || y >= gx.rows) {
            continue;
        }
        double dx = gx.at<int16_t>(y, x), dy = gy.at<int16_t>(y, x);
        double across = std::abs(dx * normal.x + dy * normal.y);
        if (across >= edgeLevel && across >= 0.87 * std::hypot(dx, dy)) {
            return true;
        }
    }
    return false;
}

SearchImage makeSearchImage(const UprightImage &upright) {
    SearchImage s;
    int factor = factorFor(upright.size(), kSearchLongSide);
    cv::Mat reduced = upright.reduced(factor);
    s.scale = factor;
    cv::GaussianBlur(reduced, s.rgb, cv::Size(5, 5), 1.0);
    s.lab = labOf(s.rgb);
    strongestGradient(s.rgb, s.gx, s.gy);
    // Rayleigh noise has its lower quartile at 0.76 sigma; an edge stands out at four sigma.
    double sigma = noiseLevel(s.gx, s.gy) / 0.76;
    s.edgeLevel = std::max(12.0, 4.0 * sigma);
    // Every pixel with an edge's gradient votes, not only the thinned edge: where a patterned
    // cloth meets the sheet, the thinned edge wanders off along the pattern.
    cv::Mat fx, fy, magnitude;
    s.gx.convertTo(fx, CV_32F);
    s.gy.convertTo(fy, CV_32F);
    cv::magnitude(fx, fy, magnitude);
    s.edges = magnitude >= s.edgeLevel;
    s.brightLevel = lightnessPercentile(s.lab, 0.95);
    return s;
}

} // namespace folvane::correction
