#include "correction/PageCleaner.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include <opencv2/imgproc.hpp>

#include "correction/Reduce.h"

namespace folvane::correction {

namespace {

constexpr int kEstimateLongSide = 256; // about a millimetre a pixel on A4

// The paper's colour at each place, on a reduced copy: every feature darker than the paper
// and narrower than about a centimetre (text, lines, seal strokes) closed over, then smoothed.
// `factor` gets the reduction.
cv::Mat paperColour(const cv::Mat &pageRgb, int &factor) {
    factor = factorFor(pageRgb.size(), kEstimateLongSide);
    cv::Mat small = reduceBy(pageRgb, factor).clone();
    cv::Size size = small.size();
    int k = std::max(3, std::max(size.width, size.height) / 28) | 1;
    cv::Mat kernel = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(k, k));
    cv::morphologyEx(small, small, cv::MORPH_CLOSE, kernel, cv::Point(-1, -1), 1,
                     cv::BORDER_REPLICATE);
    if (std::min(size.width, size.height) >= 5) {
        cv::medianBlur(small, small, 5);
    }
    cv::GaussianBlur(small, small, cv::Size(0, 0), 2.0, 2.0, cv::BORDER_REPLICATE);
    // Never divide by black: a page too dark to be paper stays as it is.
    cv::max(small, cv::Scalar(24, 24, 24), small);
    cv::Mat scale;
    small.convertTo(scale, CV_32FC3);
    cv::divide(255.0, scale, scale);
    return scale;
}

// Paper (about 228 and up once divided) goes to white, ink gets darker: a level curve.
std::array<uint8_t, 256> levels() {
    std::array<uint8_t, 256> lut{};
    for (int v = 0; v < 256; ++v) {
        double out = (v - 40.0) * 255.0 / (228.0 - 40.0);
        lut[v] = static_cast<uint8_t>(std::clamp(out, 0.0, 255.0));
    }
    return lut;
}

// Where full-resolution position i falls between two reduced pixels: the first and its share.
struct Tap {
    int at;
    float weight; // of at + 1
};

std::vector<Tap> taps(int full, int reduced, int factor) {
    std::vector<Tap> out(full);
    for (int i = 0; i < full; ++i) {
        float p = (i + 0.5f) / factor - 0.5f;
        int at = static_cast<int>(std::floor(p));
        float w = p - at;
        if (at < 0) {
            at = 0, w = 0;
        }
        if (at >= reduced - 1) {
            at = reduced - 1, w = 0;
        }
        out[i] = {at, w};
    }
    return out;
}

} // namespace

CleanPage cleanPage(cv::Mat pageRgb) {
    int factor = 1;
    cv::Mat scale = paperColour(pageRgb, factor); // 255 / the paper's colour, reduced
    std::vector<Tap> across = taps(pageRgb.cols, scale.cols, factor);
    std::vector<Tap> down = taps(pageRgb.rows, scale.rows, factor);
    std::array<uint8_t, 256> lut = levels();
    CleanPage page;
    page.colour = pageRgb; // each pixel is read before it is overwritten
    page.grey.create(pageRgb.size(), CV_8UC1);
    std::vector<cv::Vec3f> row(scale.cols);
    for (int y = 0; y < pageRgb.rows; ++y) {
        const cv::Vec3f *r0 = scale.ptr<cv::Vec3f>(down[y].at);
        const cv::Vec3f *r1 = scale.ptr<cv::Vec3f>(std::min(down[y].at + 1, scale.rows - 1));
        for (int x = 0; x < scale.cols; ++x) {
            row[x] = r0[x] + (r1[x] - r0[x]) * down[y].weight;
        }
        const cv::Vec3b *in = pageRgb.ptr<cv::Vec3b>(y);
        cv::Vec3b *out = page.colour.ptr<cv::Vec3b>(y);
        uint8_t *grey = page.grey.ptr<uint8_t>(y);
        for (int x = 0; x < pageRgb.cols; ++x) {
            const Tap &t = across[x];
            cv::Vec3f gain =
                row[t.at] + (row[std::min(t.at + 1, scale.cols - 1)] - row[t.at]) * t.weight;
            int v[3];
            for (int c = 0; c < 3; ++c) {
                v[c] = lut[std::min(255, static_cast<int>(in[x][c] * gain[c] + 0.5f))];
                out[x][c] = static_cast<uint8_t>(v[c]);
            }
            grey[x] = static_cast<uint8_t>((v[0] * 77 + v[1] * 150 + v[2] * 29 + 128) >> 8);
        }
    }
    return page;
}

} // namespace folvane::correction
