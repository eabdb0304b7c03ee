#include "correction/PageContent.h"

#include <algorithm>
#include <cmath>

#include <opencv2/imgproc.hpp>

#include "correction/Reduce.h"

namespace correction {

namespace {

constexpr int kInkBelow = 150;    // grey level under which a cleaned pixel is ink
constexpr int kColourChroma = 60; // max - min of RGB from which a pixel has colour
constexpr double kColourShare = 0.0005;
constexpr double kToneShare = 0.01;

cv::Mat chroma(const cv::Mat &rgb) {
    cv::Mat channels[3], high, low;
    cv::split(rgb, channels);
    cv::max(channels[0], channels[1], high);
    cv::max(high, channels[2], high);
    cv::min(channels[0], channels[1], low);
    cv::min(low, channels[2], low);
    return high - low;
}

} // namespace

ContentKind contentOf(const CleanPage &page) {
    // A quarter of the resolution: the colour fringes a camera leaves on black text and the
    // grey edges of strokes average away there.
    cv::Mat colour = reduceBy(page.colour, 4), grey = reduceBy(page.grey, 4);
    cv::Size size = colour.size();
    cv::Mat coloured = chroma(colour) > kColourChroma;
    if (std::min(size.width, size.height) >= 3) {
        cv::medianBlur(coloured, coloured, 3);
    }
    double total = static_cast<double>(size.area());
    if (cv::countNonZero(coloured) >= kColourShare * total) {
        return ContentKind::Colour;
    }
    // Grey areas wider than text strokes (photos, tinted boxes) need the background too.
    cv::Mat darkness = 255 - grey;
    cv::morphologyEx(darkness, darkness, cv::MORPH_OPEN,
                     cv::getStructuringElement(cv::MORPH_RECT, cv::Size(5, 5)));
    cv::Mat tones = (darkness > 55) & (darkness < 175);
    return cv::countNonZero(tones) >= kToneShare * total ? ContentKind::Colour
                                                         : ContentKind::Bilevel;
}

cv::Mat inkMask(const CleanPage &page, ContentKind content) {
    cv::Mat ink(page.grey.size(), CV_8UC1);
    bool colour = content == ContentKind::Colour;
    for (int y = 0; y < ink.rows; ++y) {
        const uint8_t *grey = page.grey.ptr<uint8_t>(y);
        const cv::Vec3b *rgb = page.colour.ptr<cv::Vec3b>(y);
        uint8_t *out = ink.ptr<uint8_t>(y);
        for (int x = 0; x < ink.cols; ++x) {
            bool dark = grey[x] < kInkBelow;
            if (dark && colour) {
                const cv::Vec3b &p = rgb[x];
                int high = std::max({p[0], p[1], p[2]}), low = std::min({p[0], p[1], p[2]});
                dark = high - low < kColourChroma;
            }
            out[x] = dark ? 255 : 0;
        }
    }
    return ink;
}

std::vector<uint8_t> packBits(const cv::Mat &mask, std::size_t &rowBytes) {
    rowBytes = (static_cast<std::size_t>(mask.cols) + 7) / 8;
    std::vector<uint8_t> bits(rowBytes * mask.rows, 0);
    for (int y = 0; y < mask.rows; ++y) {
        const uint8_t *in = mask.ptr<uint8_t>(y);
        uint8_t *out = bits.data() + rowBytes * y;
        for (int x = 0; x < mask.cols; ++x) {
            if (in[x]) {
                out[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
            }
        }
    }
    return bits;
}

} // namespace correction
