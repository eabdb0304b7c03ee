#include "correction/SearchImage.h"

#include <algorithm>
#include <cmath>

#include <opencv2/imgproc.hpp>

#include "correction/Limits.h"

namespace correction {

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

// The gradient magnitude most pixels stay under: flat areas dominate any photo, so the median
// magnitude measures noise and fine texture.
double noiseLevel(const cv::Mat &gx, const cv::Mat &gy) {
    std::vector<int> histogram(2048, 0);
    for (int y = 0; y < gx.rows; ++y) {
        const int16_t *px = gx.ptr<int16_t>(y), *py = gy.ptr<int16_t>(y);
        for (int x = 0; x < gx.cols; ++x) {
            int m = static_cast<int>(std::hypot(px[x], py[x]));
            ++histogram[std::min(m, 2047)];
        }
    }
    long half = static_cast<long>(gx.total()) / 2, seen = 0;
    for (int m = 0; m < 2048; ++m) {
        seen += histogram[m];
        if (seen > half) {
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

} // namespace

SearchImage makeSearchImage(const cv::Mat &uprightRgb) {
    SearchImage s;
    int longSide = std::max(uprightRgb.cols, uprightRgb.rows);
    s.scale = std::max(1.0, static_cast<double>(longSide) / kSearchLongSide);
    cv::Size size(std::max(1, static_cast<int>(std::lround(uprightRgb.cols / s.scale))),
                  std::max(1, static_cast<int>(std::lround(uprightRgb.rows / s.scale))));
    cv::Mat reduced;
    cv::resize(uprightRgb, reduced, size, 0, 0, cv::INTER_AREA);
    s.scale = static_cast<double>(uprightRgb.cols) / size.width;
    cv::GaussianBlur(reduced, s.rgb, cv::Size(5, 5), 1.0);
    cv::cvtColor(s.rgb, s.lab, cv::COLOR_RGB2Lab);
    strongestGradient(s.rgb, s.gx, s.gy);
    // Rayleigh noise has its median at 1.18 sigma; an edge stands out at about four sigma.
    double sigma = noiseLevel(s.gx, s.gy) / 1.18;
    s.edgeLevel = std::max(12.0, 4.0 * sigma);
    cv::Canny(s.gx, s.gy, s.edges, s.edgeLevel, 2 * s.edgeLevel, true);
    s.brightLevel = lightnessPercentile(s.lab, 0.95);
    return s;
}

} // namespace correction
