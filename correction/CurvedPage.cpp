#include "correction/CurvedPage.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <opencv2/imgproc.hpp>

#include "correction/PageOutline.h"
#include "correction/TextLines.h"

namespace folvane::correction {

namespace {

// The largest share of the reduced copy that may be ink for the model to be made.
constexpr double kMostInk = 0.25;
// The least scale the outline may give a column: half the page's, as for the text lines.
constexpr double kLeastOutlineScale = 0.5;
// Columns of samples at each end of the text where the text lines' scale is evened out by the
// lines' ends.
constexpr int kTextEndColumns = 2;
// How much deeper a dip is at the page's side than where it ends (as a share of the height).
constexpr double kLeastDip = 0.005;
// How closely the outline's scale must follow the text lines' inside the text to be taken.
constexpr double kOutlineAgreement = 0.01;

// The page in grey at kCurveModelDpi. Grey first: reducing one channel by a factor that is not
// a whole number costs a third of reducing three.
cv::Mat reducedGrey(const cv::Mat &page, double dpi) {
    cv::Mat grey;
    if (page.channels() == 3) {
        cv::cvtColor(page, grey, cv::COLOR_RGB2GRAY);
    } else {
        grey = page;
    }
    double scale = dpi > kCurveModelDpi ? kCurveModelDpi / dpi : 1.0;
    if (scale == 1.0) {
        return grey;
    }
    cv::Size size(std::max(1, static_cast<int>(std::lround(page.cols * scale))),
                  std::max(1, static_cast<int>(std::lround(page.rows * scale))));
    cv::Mat reduced;
    cv::resize(grey, reduced, size, 0, 0, cv::INTER_AREA);
    return reduced;
}

// The ink of the reduced page: darker than its neighbourhood (about 4 mm across) by more than
// the paper's own grain.
cv::Mat inkOf(const cv::Mat &grey, double dpi) {
    int window = static_cast<int>(std::lround(4.2 / 25.4 * dpi)) | 1;
    cv::Mat ink;
    cv::adaptiveThreshold(grey, ink, 255, cv::ADAPTIVE_THRESH_MEAN_C, cv::THRESH_BINARY_INV,
                          std::max(3, window), 20);
    return ink;
}

// How far the page's text lines sag from the straight line through their ends, as most of them
// do: at each column the median, over the rows among the lines, of each row's distance from its
// chord, and the largest of those. One line's wobble (its letters' ascenders and descenders, a
// heading's larger type) does not count; a bend that most lines have does, whichever way each
// bends (seen from a camera above, lines above its axis bow one way and lines below the other).
double largestSag(const TextLineModel &model) {
    const cv::Mat &d = model.disparity;
    std::vector<std::vector<float>> byColumn(d.cols);
    for (int i = 0; i < d.rows; ++i) {
        double y = static_cast<double>(i) * kDisparityStep;
        if (y < model.firstLine || y > model.lastLine) {
            continue;
        }
        const float *row = d.ptr<float>(i);
        const double first = row[0], last = row[d.cols - 1];
        for (int j = 1; j + 1 < d.cols; ++j) {
            double chord = first + (last - first) * j / (d.cols - 1);
            byColumn[j].push_back(static_cast<float>(std::abs(row[j] - chord)));
        }
    }
    double largest = 0;
    for (std::vector<float> &column : byColumn) {
        if (column.empty()) {
            continue;
        }
        std::nth_element(column.begin(), column.begin() + column.size() / 2, column.end());
        largest = std::max(largest, static_cast<double>(column[column.size() / 2]));
    }
    return largest;
}

// Fills `curve`'s scale with the text lines', and where the paper's outline dips in from the
// four-corner page's top and bottom at its left or right side, with the outline's: the text
// lines' own scale evens out towards the text's ends, and misses the margin, where a gutter bends
// most steeply. The outline's scale is against the four-corner page, the lines' against the
// middle column: they are joined where the dip ends inside the page. An outline that does not
// follow the text lines where both are known is no page's edge, and left out. Where the outline
// is taken, `curve` gets its dips too; `toPage` is the page's pixels to one of the outline's.
void takeOutline(const TextLineModel &model, const PageOutline &found, double toPage,
                 PageCurve &curve) {
    std::vector<double> scale = model.scale;
    const std::vector<double> &outline = found.scale;
    const int samples = static_cast<int>(scale.size());
    // `side` is the first or last column; the outline may start a column or two in from it,
    // where the page's very edge leaves no paper in the column.
    auto fromEdge = [&](int side, int inwards) {
        int edge = side;
        while (outline[edge] <= 0 && std::abs(edge - side) < kTextEndColumns &&
               edge + inwards >= 0 && edge + inwards < samples) {
            edge += inwards;
        }
        int inner = edge;
        while (inner + inwards >= 0 && inner + inwards < samples && outline[inner + inwards] > 0) {
            inner += inwards;
        }
        // A dip comes in from the side and ends inside the page, deepest at the side: dark bands
        // printed along the whole top and bottom are no dip, and stay as printed.
        const bool throughout = inner == samples - 1 - side;
        if (outline[edge] <= 0 || inner == edge || throughout ||
            outline[edge] > outline[inner] - kLeastDip) {
            return;
        }
        const double join = model.scale[inner] / outline[inner];
        // Well inside the text, the text lines tell the scale as well as the outline does.
        const int textFrom = model.firstColumn + kTextEndColumns;
        const int textTo = model.lastColumn - kTextEndColumns;
        for (int c = edge; c != inner + inwards; c += inwards) {
            if (c >= textFrom && c <= textTo &&
                std::abs(outline[c] * join - model.scale[c]) > kOutlineAgreement) {
                return;
            }
        }
        for (int c = edge; c != inner + inwards; c += inwards) {
            scale[c] = std::max(kLeastOutlineScale, outline[c] * join);
        }
        // Out to the side, as the outline's last two columns run.
        const double slope = scale[edge] - scale[edge + inwards];
        for (int c = edge - inwards, out = 1; c != side - inwards; c -= inwards, ++out) {
            scale[c] = std::max(kLeastOutlineScale, scale[edge] + slope * out);
        }
        // The desk shows as far as half a column of samples past the last that sees it.
        const int reach =
            static_cast<int>(std::lround((std::abs(inner - side) + 0.5) * kDisparityStep * toPage));
        (side == 0 ? curve.dipLeft : curve.dipRight) = reach;
        curve.paperLight = found.paperLight;
    };
    fromEdge(0, 1);
    fromEdge(samples - 1, -1);
    curve.scale = std::move(scale);
}

// Where `x` (a page position) falls among samples every `step` pixels: the sample at or before
// it and the weight of the one after, held at the last sample.
void samplePosition(double x, double step, int samples, int &index, float &weight) {
    const double at = std::clamp(x / step, 0.0, static_cast<double>(samples - 1));
    index = std::min(static_cast<int>(at), samples - 2);
    weight = static_cast<float>(at - index);
}

// For each column of the straightened page, the column of `page` it is taken from, spaced by the
// length of surface each column of `page` shows. Drawn at scale s against the middle column, a
// part of the page lies (x - foot) / s from the camera's foot across the page and
// height * (1 - 1 / s) nearer the camera than the middle; the surface's length is the length of
// that path. Without a camera, each column is taken as it is.
std::vector<float> surfaceColumns(const PageCurve &curve, const PageCamera &camera, int width) {
    std::vector<float> source(width);
    if (camera.height <= 0 || curve.scale.size() < 2) {
        for (int x = 0; x < width; ++x) {
            source[x] = static_cast<float>(x);
        }
        return source;
    }
    const int samples = static_cast<int>(curve.scale.size());
    // The length of surface from the page's left edge to each pixel edge e (at x = e - 0.5).
    std::vector<double> length(width + 1, 0);
    double lastAcross = 0, lastUp = 0;
    for (int e = 0; e <= width; ++e) {
        const double x = e - 0.5;
        int j = 0;
        float w = 0;
        samplePosition(x, curve.step, samples, j, w);
        const double s = curve.scale[j] + (curve.scale[j + 1] - curve.scale[j]) * w;
        const double across = camera.foot.x + (x - camera.foot.x) / s;
        const double up = camera.height * (1 - 1 / s);
        if (e > 0) {
            length[e] = length[e - 1] + std::hypot(across - lastAcross, up - lastUp);
        }
        lastAcross = across;
        lastUp = up;
    }
    // A page bent so far that its surface is half as wide again as its chord is no page the
    // text lines describe: the stretch stops there.
    const int wide = std::clamp(static_cast<int>(std::lround(length[width])), 1, width * 3 / 2);
    source.resize(wide);
    int e = 0;
    for (int u = 0; u < wide; ++u) {
        const double along = (u + 0.5) * length[width] / wide;
        while (e + 1 < width && length[e + 1] < along) {
            ++e;
        }
        const double part = length[e + 1] - length[e];
        const double edge = e + (part > 0 ? (along - length[e]) / part : 0);
        source[u] = static_cast<float>(edge - 0.5);
    }
    return source;
}

} // namespace

PageCurve pageCurveOf(const cv::Mat &page, double dpi) {
    PageCurve curve;
    if (page.empty()) {
        return curve;
    }
    const cv::Mat grey = reducedGrey(page, dpi);
    cv::Mat ink = inkOf(grey, std::min(dpi, kCurveModelDpi));
    // Text, even dense Chinese, inks a small share of a page; a copy with more is a picture, a
    // texture or noise, in which "lines" found would bend the page for nothing.
    if (cv::countNonZero(ink) > ink.total() * kMostInk) {
        return curve;
    }
    TextLineModel model = textLineModelOf(ink);
    if (model.disparity.empty()) {
        return curve;
    }
    double scale = static_cast<double>(page.rows) / ink.rows;
    curve.sag = largestSag(model) / ink.rows;
    curve.disparity = model.disparity * scale;
    curve.step = kDisparityStep * scale;
    takeOutline(model, outlineOf(grey, kDisparityStep, static_cast<int>(model.scale.size())), scale,
                curve);
    return curve;
}

cv::Mat straightened(const cv::Mat &page, const PageCurve &curve, const PageCamera &camera) {
    const cv::Mat &d = curve.disparity;
    const std::vector<float> columns = surfaceColumns(curve, camera, page.cols);
    const int wide = static_cast<int>(columns.size());
    std::vector<int> column(wide), row(page.rows);
    std::vector<float> across(wide), down(page.rows);
    for (int x = 0; x < wide; ++x) {
        samplePosition(columns[x], curve.step, d.cols, column[x], across[x]);
    }
    for (int y = 0; y < page.rows; ++y) {
        samplePosition(y, curve.step, d.rows, row[y], down[y]);
    }
    cv::Mat mapX(page.rows, wide, CV_32F), mapY(page.rows, wide, CV_32F);
    for (int y = 0; y < page.rows; ++y) {
        const float *above = d.ptr<float>(row[y]);
        const float *below = d.ptr<float>(row[y] + 1);
        const float wy = down[y];
        float *xs = mapX.ptr<float>(y);
        float *ys = mapY.ptr<float>(y);
        for (int x = 0; x < wide; ++x) {
            const int j = column[x];
            const float wx = across[x];
            float top = above[j] + (above[j + 1] - above[j]) * wx;
            float bottom = below[j] + (below[j + 1] - below[j]) * wx;
            xs[x] = columns[x];
            ys[x] = static_cast<float>(y) - (top + (bottom - top) * wy);
        }
    }
    cv::Mat flat;
    cv::remap(page, flat, mapX, mapY, cv::INTER_LINEAR, cv::BORDER_REPLICATE);
    return flat;
}

} // namespace folvane::correction
