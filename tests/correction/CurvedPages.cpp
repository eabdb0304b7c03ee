#include "tests/correction/CurvedPages.h"

#include <algorithm>
#include <cmath>

#include "tests/deskphoto/DeskPhoto.h"

namespace correction_test {

namespace {

constexpr int kWidth = 1240; // A4 at 150 dpi
constexpr int kHeight = 1754;
constexpr int kMargin = 120;
constexpr int kPitch = 48;
constexpr int kColumns = 16;

// Text drawn as its texture alone: letters of x-height, each a few upright strokes joined at the
// top, in words of 3 to 9 letters. The middle of a line's ink is then the middle of its letters
// wherever it is measured, which real glyphs, with their ascenders and descenders, would blur.
support::Picture flatPage(unsigned seed, double textSize) {
    support::Picture page = support::Blank(kWidth, kHeight, 1);
    std::fill(page.samples.begin(), page.samples.end(), 255);
    desk::Random random(seed);
    auto scaled = [textSize](int pixels) {
        return std::max(1, static_cast<int>(std::lround(pixels * textSize)));
    };
    const int kXHeight = scaled(16), kStroke = scaled(3), kLetter = scaled(11), kSpace = scaled(14),
              kLinePitch = scaled(kPitch);
    for (int top = kMargin + kLinePitch; top < kHeight - kMargin; top += kLinePitch) {
        int x = kMargin;
        while (true) {
            // The last word of a line is cut to end at the margin: every line runs full width.
            int letters =
                std::min(3 + static_cast<int>(random.next() % 7), (kWidth - kMargin - x) / kLetter);
            if (letters < 1) {
                break;
            }
            for (int l = 0; l < letters; ++l, x += kLetter) {
                for (int y = top; y < top + kXHeight; ++y) {
                    for (int dx = 0; dx < kLetter - 3; ++dx) {
                        bool stroke = dx < kStroke || dx >= kLetter - 3 - kStroke;
                        if (stroke || y < top + kStroke) {
                            page.At(x + dx, y, 0) = 0;
                        }
                    }
                }
            }
            x += kSpace;
        }
    }
    return page;
}

// How far column x sinks: 1 at the gutter falling to 0 across the bent share, squared, so that
// the chord of a fully bent line lies a quarter below its middle.
double sinkAt(double x, const Bend &bend) {
    double u = bend.gutterLeft ? 1 - x / (kWidth - 1) : x / (kWidth - 1);
    double t = std::clamp((u - (1 - bend.bentShare)) / bend.bentShare, 0.0, 1.0);
    return t * t;
}

} // namespace

support::Picture curvedPage(const Bend &bend, unsigned seed, double textSize) {
    support::Picture flat = flatPage(seed, textSize);
    // A line's sag from its chord is a quarter of the depth at the gutter; less higher up the
    // page, as a page held down at its top bends most at its foot.
    double depth = 4 * bend.sag * kHeight;
    support::Picture out = support::Blank(kWidth, kHeight, 1);
    for (int y = 0; y < kHeight; ++y) {
        double grow = 0.6 + 0.4 * y / (kHeight - 1);
        for (int x = 0; x < kWidth; ++x) {
            double from = y - depth * grow * sinkAt(x, bend);
            int y0 = static_cast<int>(std::floor(from));
            double w = from - y0;
            auto at = [&](int row) {
                return row < 0 || row >= kHeight ? 255.0 : flat.At(x, row, 0);
            };
            out.At(x, y, 0) = static_cast<uint8_t>(std::lround((1 - w) * at(y0) + w * at(y0 + 1)));
        }
    }
    return out;
}

folvane::correction::Picture handCornered(const support::Picture &page) {
    folvane::correction::Picture picture;
    picture.pixels = page.samples.data();
    picture.size = page.samples.size();
    picture.width = page.width;
    picture.height = page.height;
    picture.channels = page.components;
    picture.stride = static_cast<std::size_t>(page.width) * page.components;
    picture.kind = folvane::correction::SourceKind::Photo;
    double right = page.width - 1, bottom = page.height - 1;
    picture.corners =
        folvane::correction::Corners{{{0, 0}, {right, 0}, {right, bottom}, {0, bottom}}};
    return picture;
}

namespace {

// The middle rows of the runs of inked rows in columns [x0, x1).
std::vector<double> lineMiddles(const std::vector<uint8_t> &grey, int width, int height, int x0,
                                int x1) {
    std::vector<double> middles;
    int start = -1;
    for (int y = 0; y <= height; ++y) {
        bool inked = false;
        for (int x = x0; y < height && x < x1 && !inked; ++x) {
            inked = grey[static_cast<std::size_t>(y) * width + x] < 128;
        }
        if (inked && start < 0) {
            start = y;
        } else if (!inked && start >= 0) {
            middles.push_back((start + y - 1) / 2.0);
            start = -1;
        }
    }
    return middles;
}

} // namespace

double largestLineSpread(const std::vector<uint8_t> &grey, int width, int height) {
    // Columns inside the text block, clear of the margins.
    int left = width * kMargin / kWidth + 8, right = width - width * kMargin / kWidth - 8;
    int step = (right - left) / kColumns;
    std::vector<std::vector<double>> columns;
    for (int c = 0; c < kColumns; ++c) {
        columns.push_back(lineMiddles(grey, width, height, left + c * step, left + (c + 1) * step));
    }
    double largest = 0;
    for (std::size_t line = 0; line < columns[0].size(); ++line) {
        double low = columns[0][line], high = low;
        for (const std::vector<double> &column : columns) {
            if (column.size() != columns[0].size()) {
                return -1;
            }
            low = std::min(low, column[line]);
            high = std::max(high, column[line]);
        }
        largest = std::max(largest, high - low);
    }
    return largest;
}

} // namespace correction_test
