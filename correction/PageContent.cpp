#include "correction/PageContent.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <opencv2/imgproc.hpp>

#include "correction/Reduce.h"

namespace correction {

namespace {

// A cleaned pixel darker than kInkSure is ink; one darker than kInkFaint is ink when it touches
// such a pixel through others like it: the light, blurred strokes of small text stay whole while
// the paper's grain, lighter still and apart from any stroke, stays paper.
constexpr int kInkSure = 170;
constexpr int kInkFaint = 200;
constexpr int kPlateau = 6;          // how much lighter than its surroundings a sure pixel may be
constexpr int kAround = 5;           // the neighbourhood a faint pixel is compared with
constexpr int kColourChroma = 60;    // max - min of RGB from which a pixel has colour
constexpr int kLightPaper = 190;     // grey above which coloured paper counts as light
constexpr int kColouredPaper = 40;   // chroma from which paper counts as coloured (white: ~0)
constexpr int kDarkerThanPaper = 60; // how much darker than such paper its text is
constexpr int kMillimetresAcross = 210; // a page's width, near enough for A4, B5 and Letter
constexpr double kSharpenSigma = 1.5;
constexpr double kSharpenAmount = 3.0;
constexpr double kColourShare = 0.0005;
constexpr double kToneShare = 0.01;

cv::Mat chroma(const cv::Mat &rgb) {
    cv::Mat out(rgb.size(), CV_8UC1);
    for (int y = 0; y < rgb.rows; ++y) {
        const cv::Vec3b *in = rgb.ptr<cv::Vec3b>(y);
        uint8_t *c = out.ptr<uint8_t>(y);
        for (int x = 0; x < rgb.cols; ++x) {
            c[x] = static_cast<uint8_t>(std::max({in[x][0], in[x][1], in[x][2]}) -
                                        std::min({in[x][0], in[x][1], in[x][2]}));
        }
    }
    return out;
}

// The grey with its edges steepened: the blur of a lens, a warp and JPEG spreads a thin stroke
// into a wide, light smudge that no single level cuts back into a stroke.
cv::Mat sharpened(const cv::Mat &grey) {
    cv::Mat blurred, out;
    cv::GaussianBlur(grey, blurred, cv::Size(0, 0), kSharpenSigma, kSharpenSigma,
                     cv::BORDER_REPLICATE);
    cv::addWeighted(grey, 1 + kSharpenAmount, blurred, -kSharpenAmount, 0, out);
    return out;
}

// The colour averaged over a few pixels: the red and blue fringes a lens leaves on either side
// of a black stroke cancel out, while a seal's stroke, coloured through, keeps its colour.
cv::Mat softened(const cv::Mat &rgb) {
    cv::Mat out;
    cv::blur(rgb, out, cv::Size(5, 5), cv::Point(-1, -1), cv::BORDER_REPLICATE);
    return out;
}

// Pixels on light, coloured paper (a highlighter's stroke) no more coloured than that paper
// and clearly darker than it: text under the marker, which a pixel's own colour would count as
// colour. The paper around a pixel is the brightest of each channel within about a millimetre,
// which reaches past a stroke of text to what it was written on. A seal's or a pen's stroke on
// white paper is far more coloured than the paper around it, and inside a solid coloured mark
// the surroundings are that mark, neither light nor much lighter: both stay colour.
cv::Mat darkOnColouredPaper(const CleanPage &page, const cv::Mat &pixelChroma) {
    int k = std::max(3, page.colour.cols / kMillimetresAcross) | 1;
    cv::Mat around, aroundGrey;
    cv::dilate(page.colour, around, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(k, k)),
               cv::Point(-1, -1), 1, cv::BORDER_REPLICATE);
    cv::cvtColor(around, aroundGrey, cv::COLOR_RGB2GRAY);
    cv::Mat paperChroma = chroma(around);
    cv::Mat onColouredPaper = (aroundGrey > kLightPaper) & (paperChroma > kColouredPaper);
    cv::Mat asColoured = pixelChroma < paperChroma + kColourChroma;
    cv::Mat darker = page.grey + kDarkerThanPaper < aroundGrey;
    return onColouredPaper & asColoured & darker;
}

// The pixels of `faint` joined (8-connected, through `faint`) to some pixel of `sure`.
cv::Mat joinedTo(const cv::Mat &faint, const cv::Mat &sure) {
    cv::Mat labels;
    int count = cv::connectedComponents(faint, labels, 8, CV_32S);
    std::vector<uint8_t> anchored(static_cast<std::size_t>(count), 0);
    for (int y = 0; y < labels.rows; ++y) {
        const int *label = labels.ptr<int>(y);
        const uint8_t *s = sure.ptr<uint8_t>(y);
        for (int x = 0; x < labels.cols; ++x) {
            if (s[x]) {
                anchored[static_cast<std::size_t>(label[x])] = 1;
            }
        }
    }
    anchored[0] = 0; // the background of the labelling
    cv::Mat ink(faint.size(), CV_8UC1);
    for (int y = 0; y < labels.rows; ++y) {
        const int *label = labels.ptr<int>(y);
        uint8_t *out = ink.ptr<uint8_t>(y);
        for (int x = 0; x < labels.cols; ++x) {
            out[x] = anchored[static_cast<std::size_t>(label[x])] ? 255 : 0;
        }
    }
    return ink;
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
    cv::Mat grey = sharpened(page.grey);
    // A faint pixel must also be darker than what lies around it: the narrow gaps between the
    // strokes of small characters, grey too once blurred, are lighter than their surroundings.
    cv::Mat around;
    cv::blur(grey, around, cv::Size(kAround, kAround), cv::Point(-1, -1), cv::BORDER_REPLICATE);
    cv::Mat sure = grey < kInkSure, faint = (grey < kInkFaint) & (grey < around);
    if (content == ContentKind::Colour) {
        cv::Mat pixelChroma = chroma(softened(page.colour));
        cv::Mat colourless = pixelChroma < kColourChroma;
        colourless |= darkOnColouredPaper(page, pixelChroma);
        sure &= colourless;
        faint &= colourless;
    }
    // Inside a stroke wider than the neighbourhood (a bold title) a sure pixel is as dark as its
    // surroundings, not darker: it is ink all the same, where a gap between strokes is lighter.
    faint |= sure & (grey <= around + kPlateau);
    return joinedTo(faint, sure);
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
