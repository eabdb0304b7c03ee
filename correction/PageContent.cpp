#include "correction/PageContent.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <opencv2/imgproc.hpp>

#include "correction/Reduce.h"

namespace folvane::correction {

namespace {

// A cleaned pixel darker than kInkSure is ink; one darker than kInkFaint is ink when it touches
// such a pixel through others like it: the light, blurred strokes of small text stay whole while
// the paper's grain, lighter still and apart from any stroke, stays paper.
constexpr int kInkSure = 170;
constexpr int kInkFaint = 200;
constexpr int kPlateau = 6;        // how much lighter than its surroundings a sure pixel may be
constexpr int kAround = 5;         // the neighbourhood a faint pixel is compared with
constexpr int kColourChroma = 60;  // max - min of RGB from which a pixel has colour
constexpr int kLightPaper = 190;   // grey above which coloured paper counts as light
constexpr int kColouredPaper = 40; // chroma from which paper counts as coloured (white: ~0)
constexpr int kMarkerGain = 3;     // how much text on such paper is darkened
constexpr int kMillimetresAcross = 210; // a page's width, near enough for A4, B5 and Letter
constexpr int kSolidInk = 120;          // a text pixel darker than this is solidly inked
constexpr double kSoftShare = 0.25;     // the share of solid text pixels under which text is soft
constexpr double kLeastText = 0.002;    // the share of a page that must be text to judge it
constexpr double kSharpenSigma = 1.5;
constexpr double kSharpenAmount = 3.0;
constexpr double kColourShare = 0.0005;
constexpr double kToneShare = 0.01;

// How coloured a pixel is: the spread of its channels, 0 for grey.
uint8_t chromaOf(const cv::Vec3b &rgb) {
    return static_cast<uint8_t>(std::max({rgb[0], rgb[1], rgb[2]}) -
                                std::min({rgb[0], rgb[1], rgb[2]}));
}

cv::Mat chroma(const cv::Mat &rgb) {
    cv::Mat out(rgb.size(), CV_8UC1);
    for (int y = 0; y < rgb.rows; ++y) {
        const cv::Vec3b *in = rgb.ptr<cv::Vec3b>(y);
        uint8_t *c = out.ptr<uint8_t>(y);
        for (int x = 0; x < rgb.cols; ++x) {
            c[x] = chromaOf(in[x]);
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

// Light, coloured paper (a highlighter's stroke, a tinted form) on a copy of the page reduced
// to about three samples a millimetre. Each channel is closed over about a millimetre: a stroke
// of text fills in with what it was written on, while the edges of a marker's stroke stay
// where they are. A seal's or a pen's stroke on white paper closes over to white, and the
// inside of a solid coloured mark is not light: neither counts as coloured paper.
struct ColouredPaper {
    int factor = 1; // one sample for factor x factor pixels of the page
    cv::Mat grey;   // the paper's grey, 0 where it is not light, coloured paper
    cv::Mat chroma; // and its chroma
};

ColouredPaper colouredPaper(const cv::Mat &colour) {
    ColouredPaper out;
    out.factor = std::max(1, colour.cols / (kMillimetresAcross * 3));
    cv::Mat reduced = reduceBy(colour, out.factor), paper; // reduced may be `colour` itself
    int k = std::max(3, reduced.cols / kMillimetresAcross) | 1;
    cv::morphologyEx(reduced, paper, cv::MORPH_CLOSE,
                     cv::getStructuringElement(cv::MORPH_RECT, cv::Size(k, k)), cv::Point(-1, -1),
                     1, cv::BORDER_REPLICATE);
    cv::cvtColor(paper, out.grey, cv::COLOR_RGB2GRAY);
    out.chroma = chroma(paper);
    out.grey.setTo(0, (out.grey <= kLightPaper) | (out.chroma <= kColouredPaper));
    return out;
}

// Text on coloured paper, in place: a marker painted over text leaves the text only part of
// its contrast (black under a translucent yellow comes out olive), so its darkness below the
// paper counts kMarkerGain times in `grey`; and such text counts as colourless when it is no
// more coloured than its paper.
void markText(const ColouredPaper &paper, const cv::Mat &pixelChroma, cv::Mat &grey,
              cv::Mat &colourless) {
    for (int y = 0; y < grey.rows; ++y) {
        int py = std::min(y / paper.factor, paper.grey.rows - 1);
        const uint8_t *pg = paper.grey.ptr<uint8_t>(py), *pc = paper.chroma.ptr<uint8_t>(py);
        const uint8_t *c = pixelChroma.ptr<uint8_t>(y);
        uint8_t *g = grey.ptr<uint8_t>(y), *plain = colourless.ptr<uint8_t>(y);
        for (int x = 0; x < grey.cols; ++x) {
            int px = std::min(x / paper.factor, paper.grey.cols - 1);
            if (pg[px] == 0 || g[x] >= pg[px]) {
                continue;
            }
            g[x] = static_cast<uint8_t>(std::max(0, 255 - kMarkerGain * (pg[px] - g[x])));
            if (c[x] < pc[px] + kColourChroma) {
                plain[x] = 255;
            }
        }
    }
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

bool textTooSoft(const CleanPage &page) {
    // Text is what is darker than paper and colourless; a seal's or a marker's colour, solid
    // or not, says nothing about how sharp the text is.
    long text = 0, solid = 0;
    for (int y = 0; y < page.grey.rows; ++y) {
        const uint8_t *g = page.grey.ptr<uint8_t>(y);
        const cv::Vec3b *c = page.colour.ptr<cv::Vec3b>(y);
        for (int x = 0; x < page.grey.cols; ++x) {
            if (g[x] >= kInkFaint || chromaOf(c[x]) >= kColourChroma) {
                continue;
            }
            ++text;
            solid += g[x] < kSolidInk;
        }
    }
    return text >= kLeastText * static_cast<double>(page.grey.total()) &&
           solid < kSoftShare * static_cast<double>(text);
}

namespace {

struct InkCandidates {
    cv::Mat sure;  // dark enough to be ink
    cv::Mat faint; // ink where joined to a sure pixel
};

InkCandidates inkCandidates(const CleanPage &page, ContentKind content) {
    cv::Mat base = page.grey, colourless;
    if (content == ContentKind::Colour) {
        // Ink has no colour of its own, or no more than the coloured paper it lies on.
        cv::Mat pixelChroma = chroma(softened(page.colour));
        colourless = pixelChroma < kColourChroma;
        base = page.grey.clone();
        markText(colouredPaper(page.colour), pixelChroma, base, colourless);
    }
    cv::Mat grey = sharpened(base);
    // A faint pixel must also be darker than what lies around it: the narrow gaps between the
    // strokes of small characters, grey too once blurred, are lighter than their surroundings.
    cv::Mat around;
    cv::blur(grey, around, cv::Size(kAround, kAround), cv::Point(-1, -1), cv::BORDER_REPLICATE);
    cv::Mat sure = grey < kInkSure, faint = (grey < kInkFaint) & (grey < around);
    if (!colourless.empty()) {
        sure &= colourless;
        faint &= colourless;
    }
    // Inside a stroke wider than the neighbourhood (a bold title) a sure pixel is as dark as its
    // surroundings, not darker: it is ink all the same, where a gap between strokes is lighter.
    faint |= sure & (grey <= around + kPlateau);
    return {sure, faint};
}

} // namespace

cv::Mat inkMask(const CleanPage &page, ContentKind content) {
    // The candidates' working images are freed before the labelling, the largest buffer of all.
    InkCandidates candidates = inkCandidates(page, content);
    return joinedTo(candidates.faint, candidates.sure);
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

} // namespace folvane::correction
