#include "correction/ScanPage.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <opencv2/imgproc.hpp>

#include "correction/Reduce.h"

namespace folvane::correction {

namespace {

constexpr int kWorkLongSide = 1200;
constexpr int kDark = 70; // a scanner's border is darker than this; paper is far brighter
constexpr int kPaper = 150;
constexpr double kMaxSkew = 15;

struct Work {
    cv::Mat grey;
    double scale = 1; // full pixels per work pixel
};

Work workCopy(const UprightImage &upright) {
    Work w;
    int factor = factorFor(upright.size(), kWorkLongSide);
    cv::cvtColor(upright.reduced(factor), w.grey, cv::COLOR_RGB2GRAY);
    w.scale = factor;
    return w;
}

// Dark pixels joined to the picture's edge: the scanner's border.
cv::Mat borderMask(const cv::Mat &grey) {
    cv::Mat smooth, dark, labels;
    cv::medianBlur(grey, smooth, 5);
    dark = smooth < kDark;
    int count = cv::connectedComponents(dark, labels, 8, CV_32S);
    std::vector<uint8_t> touches(count, 0);
    for (int x = 0; x < grey.cols; ++x) {
        touches[labels.at<int>(0, x)] = 1;
        touches[labels.at<int>(grey.rows - 1, x)] = 1;
    }
    for (int y = 0; y < grey.rows; ++y) {
        touches[labels.at<int>(y, 0)] = 1;
        touches[labels.at<int>(y, grey.cols - 1)] = 1;
    }
    cv::Mat border(grey.size(), CV_8UC1);
    for (int y = 0; y < grey.rows; ++y) {
        const int *l = labels.ptr<int>(y);
        uint8_t *out = border.ptr<uint8_t>(y);
        for (int x = 0; x < grey.cols; ++x) {
            out[x] = l[x] != 0 && touches[l[x]] && dark.at<uint8_t>(y, x) ? 255 : 0;
        }
    }
    return border;
}

// How strongly the ink lines up in rows when turned back by `degrees`: the sum of squares of
// the row histogram.
double rowAlignment(const std::vector<cv::Point2f> &ink, double degrees, int rows) {
    double a = degrees * CV_PI / 180, s = std::sin(a), c = std::cos(a);
    double span = rows * 1.5 + 2;
    std::vector<int> histogram(static_cast<size_t>(2 * span) + 1, 0);
    for (const cv::Point2f &p : ink) {
        int bin = static_cast<int>(std::lround(-p.x * s + p.y * c + span));
        if (bin >= 0 && bin < static_cast<int>(histogram.size())) {
            ++histogram[bin];
        }
    }
    double sum = 0;
    for (int h : histogram) {
        sum += static_cast<double>(h) * h;
    }
    return sum;
}

double bestAngle(const std::vector<cv::Point2f> &ink, int rows, double from, double to,
                 double step) {
    double best = 0, bestValue = -1;
    for (double a = from; a <= to + 1e-9; a += step) {
        double value = rowAlignment(ink, a, rows);
        if (value > bestValue) {
            bestValue = value;
            best = a;
        }
    }
    return best;
}

std::vector<cv::Point2f> inkPoints(const cv::Mat &grey, const cv::Mat &page) {
    cv::Mat inner;
    cv::erode(page, inner, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(15, 15)));
    std::vector<uint8_t> values;
    for (int y = 0; y < grey.rows; y += 2) {
        for (int x = 0; x < grey.cols; x += 2) {
            if (inner.at<uint8_t>(y, x)) {
                values.push_back(grey.at<uint8_t>(y, x));
            }
        }
    }
    std::vector<cv::Point2f> ink;
    if (values.empty()) {
        return ink;
    }
    std::nth_element(values.begin(), values.begin() + values.size() * 9 / 10, values.end());
    double threshold = values[values.size() * 9 / 10] * 0.6;
    for (int y = 0; y < grey.rows; ++y) {
        for (int x = 0; x < grey.cols; ++x) {
            if (inner.at<uint8_t>(y, x) && grey.at<uint8_t>(y, x) < threshold) {
                ink.emplace_back(static_cast<float>(x), static_cast<float>(y));
            }
        }
    }
    return ink;
}

double skewOf(const cv::Mat &grey, const cv::Mat &page, const std::vector<cv::Point> &outline) {
    std::vector<cv::Point2f> ink = inkPoints(grey, page);
    if (ink.size() >= 300) {
        double coarse = bestAngle(ink, grey.rows, -kMaxSkew, kMaxSkew, 0.5);
        return bestAngle(ink, grey.rows, coarse - 0.5, coarse + 0.5, 0.05);
    }
    if (outline.size() < 3) {
        return 0;
    }
    // A blank page: the angle of its edges, as the smallest turn that makes them upright.
    double angle = cv::minAreaRect(outline).angle;
    while (angle > 45) {
        angle -= 90;
    }
    while (angle < -45) {
        angle += 90;
    }
    return std::clamp(angle, -kMaxSkew, kMaxSkew);
}

enum class Side { Top, Bottom, Left, Right };

// A scanner's border ends in a step: a few pixels past its last dark pixel lies paper. The dark
// end of a gradient fades into the rest instead, and cleaned as a scan it would come out blank.
// Walks in from `side` along lines across its middle 80% and asks most of them for the step.
bool stepsUpToPaper(const cv::Mat &grey, Side side) {
    bool across = side == Side::Left || side == Side::Right; // walking along rows
    int length = across ? grey.cols : grey.rows, lines = across ? grey.rows : grey.cols;
    int past = std::max(3, std::min(grey.cols, grey.rows) / 100);
    int stepped = 0, walked = 0;
    for (int k = lines / 10; k < lines - lines / 10; k += std::max(1, lines / 100)) {
        auto at = [&](int t) {
            int along = side == Side::Left || side == Side::Top ? t : length - 1 - t;
            return across ? grey.at<uint8_t>(k, along) : grey.at<uint8_t>(along, k);
        };
        int t = 0;
        while (t < length / 2 && at(t) < kDark) {
            ++t;
        }
        ++walked;
        stepped += t < length / 2 && t + past < length && at(t + past) >= kPaper ? 1 : 0;
    }
    return walked > 0 && stepped * 2 > walked;
}

} // namespace

ScanPage findScanPage(const UprightImage &upright) {
    ScanPage result;
    Work w = workCopy(upright);
    cv::Mat border = borderMask(w.grey);
    cv::Mat page = ~border;
    // A border around a page, not a dark picture: some border, and most of it page.
    double borderShare = cv::countNonZero(border) / static_cast<double>(w.grey.total());
    result.darkBorder = borderShare > 0.005 && borderShare < 0.8;
    std::vector<std::vector<cv::Point>> contours;
    cv::findContours(page.clone(), contours, cv::RETR_EXTERNAL, cv::CHAIN_APPROX_NONE);
    std::vector<cv::Point> outline;
    if (!contours.empty()) {
        outline = *std::max_element(contours.begin(), contours.end(), [](auto &a, auto &b) {
            return cv::contourArea(a) < cv::contourArea(b);
        });
    }
    result.darkBorder = result.darkBorder && !outline.empty();
    result.skewDegrees = skewOf(w.grey, page, outline);
    double a = result.skewDegrees * CV_PI / 180, s = std::sin(a), c = std::cos(a);
    // The page's outline turned back, its bounding box, and that box turned forward again.
    cv::Point2d centre(w.grey.cols / 2.0, w.grey.rows / 2.0);
    std::vector<cv::Point2d> points;
    if (result.darkBorder && !outline.empty()) {
        for (const cv::Point &p : outline) {
            points.emplace_back(p.x, p.y);
        }
    } else {
        points = {{-0.5, -0.5},
                  {w.grey.cols - 0.5, -0.5},
                  {w.grey.cols - 0.5, w.grey.rows - 0.5},
                  {-0.5, w.grey.rows - 0.5}};
    }
    double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
    for (const cv::Point2d &p : points) {
        cv::Point2d d = p - centre;
        double x = d.x * c + d.y * s, y = -d.x * s + d.y * c;
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
    }
    if (result.darkBorder) {
        left += 1, top += 1, right -= 1, bottom -= 1; // off the border's blurred fringe
    } else {
        // A scan without a border keeps its own size; the turned corners fill with paper.
        double halfW = w.grey.cols / 2.0, halfH = w.grey.rows / 2.0;
        left = -halfW, right = halfW, top = -halfH, bottom = halfH;
    }
    Quad box = {cv::Point2d(left, top), {right, top}, {right, bottom}, {left, bottom}};
    for (int i = 0; i < 4; ++i) {
        cv::Point2d p = box[i];
        cv::Point2d turned(p.x * c - p.y * s, p.x * s + p.y * c);
        cv::Point2d reduced = turned + centre;
        result.corners[i] = (reduced + cv::Point2d(0.5, 0.5)) * w.scale - cv::Point2d(0.5, 0.5);
    }
    return result;
}

bool hasScannerBorder(const UprightImage &upright) {
    Work w = workCopy(upright);
    int band = std::max(2, std::min(w.grey.cols, w.grey.rows) / 50);
    struct Margin {
        Side side;
        cv::Rect strip;
    };
    const Margin margins[] = {{Side::Top, {0, 0, w.grey.cols, band}},
                              {Side::Bottom, {0, w.grey.rows - band, w.grey.cols, band}},
                              {Side::Left, {0, 0, band, w.grey.rows}},
                              {Side::Right, {w.grey.cols - band, 0, band, w.grey.rows}}};
    for (const Margin &margin : margins) {
        cv::Mat strip = w.grey(margin.strip & cv::Rect(0, 0, w.grey.cols, w.grey.rows));
        if (strip.empty()) {
            continue;
        }
        cv::Scalar mean, deviation;
        cv::meanStdDev(strip, mean, deviation);
        // A scanner's lid or background: near black and even, unlike a desk or a keyboard.
        double darkShare = cv::countNonZero(strip < 60) / static_cast<double>(strip.total());
        if (darkShare > 0.9 && mean[0] < 45 && deviation[0] < 12 &&
            stepsUpToPaper(w.grey, margin.side)) {
            return true;
        }
    }
    return false;
}

} // namespace folvane::correction
