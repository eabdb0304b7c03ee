#include "tests/deskphoto/BentPage.h"

#include <algorithm>
#include <cmath>

#include <QFont>
#include <QPainter>

namespace desk {

namespace {

constexpr int kPageWidth = 1654; // A4 at 200 dpi
constexpr int kPageHeight = 2339;
constexpr int kBorder = 160; // desk around the page in the photo
constexpr double kPi = 3.14159265358979;

const char *const kWords[] = {
    "the",     "river",   "morning", "station", "paper",   "window", "garden",  "letter",
    "city",    "winter",  "north",   "bridge",  "market",  "simple", "quiet",   "number",
    "between", "against", "every",   "travel",  "history", "small",  "public",  "report",
    "under",   "across",  "almost",  "light",   "evening", "second", "through", "without"};

// The page's cross-section: for paper columns u (0..kPageWidth), where the surface lies across
// (x) and how high (z), integrating the slope along the paper so that the width is its arc.
void crossSection(const BentShape &shape, std::vector<double> &x, std::vector<double> &z) {
    x.assign(kPageWidth + 1, 0);
    z.assign(kPageWidth + 1, 0);
    const double bent = shape.share * kPageWidth;
    for (int u = 1; u <= kPageWidth; ++u) {
        double fromEdge = shape.towardsLeft ? u - 0.5 : kPageWidth - (u - 0.5);
        double t = std::max(0.0, 1 - fromEdge / bent);
        double slope = shape.angle * t * t * (shape.curl ? 1 : -1);
        // Left to right, the surface rises by the slope where it bends towards the right edge.
        double signedSlope = shape.towardsLeft ? -slope : slope;
        x[u] = x[u - 1] + std::cos(signedSlope);
        z[u] = z[u - 1] + std::sin(signedSlope);
    }
    double zFlat = shape.towardsLeft ? z[kPageWidth] : z[0];
    for (double &h : z) {
        h -= zFlat; // the flat part lies on the desk
    }
}

// The surface `texture` lies on, seen by a camera straight above its middle: for its columns u
// (0..texture's width), where the surface lies across (x) and how high (z).
support::Picture photographSurface(const QImage &texture, const std::vector<double> &sx,
                                   const std::vector<double> &sz, unsigned seed) {
    const int columns = texture.width(), rows = texture.height();
    const double camera = 0.8 * kPageHeight, cx = sx[columns] / 2, cy = rows / 2.0;
    const int width = columns + 2 * kBorder;
    const int height = rows + 2 * kBorder;
    // Where each paper column lands across the photo, and its scale.
    std::vector<double> column(columns + 1), scale(columns + 1);
    for (int u = 0; u <= columns; ++u) {
        scale[u] = camera / (camera - sz[u]);
        column[u] = kBorder + cx + (sx[u] - cx) * scale[u];
    }
    desk::Random random(seed);
    support::Picture photo = support::Blank(width, height, 3);
    for (int px = 0; px < width; ++px) {
        auto at = std::lower_bound(column.begin(), column.end(), static_cast<double>(px));
        bool onPaper = at != column.begin() && at != column.end();
        int u1 = onPaper ? static_cast<int>(at - column.begin()) : 0;
        double w = onPaper ? (px - column[u1 - 1]) / (column[u1] - column[u1 - 1]) : 0;
        double u = u1 - 1 + w;
        double s = onPaper ? scale[u1 - 1] + w * (scale[u1] - scale[u1 - 1]) : 1;
        // The part bent down into the gutter is in its shadow.
        double shade = onPaper ? std::max(0.5, 1 - 2 * std::max(0.0, -sz[u1]) / kPageWidth) : 1;
        int iu = std::min(static_cast<int>(u), columns - 1);
        for (int py = 0; py < height; ++py) {
            double v = cy + (py - kBorder - cy) / s;
            double noise = random.normal() * 2.5;
            bool paper = onPaper && v >= 0 && v < rows;
            const uchar *row = paper ? texture.constScanLine(static_cast<int>(v)) : nullptr;
            for (int c = 0; c < 3; ++c) {
                double value = paper ? row[3 * iu + c] * shade : 52 + 6 * c; // else dark desk
                photo.At(px, py, c) =
                    static_cast<uint8_t>(std::clamp(std::lround(value + noise), 0L, 255L));
            }
        }
    }
    return photo;
}

} // namespace

std::vector<std::string> textLines(desk::Random &random, int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        std::string line;
        while (line.size() < 76) {
            line += std::string(line.empty() ? "" : " ") + kWords[random.next() % 32];
        }
        lines.push_back(line);
    }
    return lines;
}

QImage drawnTextPage(const std::vector<std::string> &lines) {
    QImage page(kPageWidth, kPageHeight, QImage::Format_RGB888);
    page.fill(QColor(246, 244, 238));
    QPainter p(&page);
    QFont font("DejaVu Serif");
    font.setPixelSize(32);
    p.setFont(font);
    p.setPen(QColor(20, 20, 20));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        p.drawText(QPointF(170, 260 + 56.0 * i), QString::fromStdString(lines[i]));
    }
    return page;
}

support::Picture photographBent(const QImage &page, const BentShape &shape, unsigned seed) {
    std::vector<double> sx, sz;
    crossSection(shape, sx, sz);
    return photographSurface(page, sx, sz, seed);
}

support::Picture photographSpread(const QImage &left, const QImage &right, double share,
                                  double angle, unsigned seed) {
    BentShape leftShape{false, false, share, angle};
    BentShape rightShape{false, true, share, angle};
    std::vector<double> sx, sz, rx, rz;
    crossSection(leftShape, sx, sz);
    crossSection(rightShape, rx, rz);
    // The right page starts where the left one ends, at the fold; both bend to the same depth.
    for (std::size_t u = 1; u < rx.size(); ++u) {
        sx.push_back(sx[kPageWidth] + rx[u]);
        sz.push_back(rz[u]);
    }
    QImage spread(2 * kPageWidth, kPageHeight, QImage::Format_RGB888);
    QPainter p(&spread);
    p.drawImage(0, 0, left);
    p.drawImage(kPageWidth, 0, right);
    p.end();
    return photographSurface(spread, sx, sz, seed);
}

} // namespace desk
