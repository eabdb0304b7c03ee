#include "correction/PageShape.h"

#include <algorithm>
#include <cmath>

#include "correction/Limits.h"

namespace folvane::correction {

namespace {

struct Paper {
    PaperSize size;
    double shortInches, longInches;
};

// A4 first: A5 and ISO B5 share its ratio, and a photo alone cannot tell them apart.
constexpr Paper kPapers[] = {{PaperSize::A4, 210 / 25.4, 297 / 25.4},
                             {PaperSize::A5, 148 / 25.4, 210 / 25.4},
                             {PaperSize::B5, 176 / 25.4, 250 / 25.4},
                             {PaperSize::Letter, 8.5, 11}};

constexpr double kSnapTolerance = 0.03;

// The paper whose ratio lies within 3% of the page's, preferring (when the picture states its
// resolution) the one whose size is nearest the page's real size.
const Paper *snappedPaper(double longOverShort, double longInches) {
    const Paper *best = nullptr;
    double bestSizeError = 1e300;
    for (const Paper &paper : kPapers) {
        double ratio = paper.longInches / paper.shortInches;
        if (std::abs(longOverShort / ratio - 1) > kSnapTolerance) {
            continue;
        }
        double sizeError = longInches > 0 ? std::abs(longInches / paper.longInches - 1) : 0;
        if (best == nullptr || sizeError < bestSizeError - 1e-9) {
            best = &paper;
            bestSizeError = sizeError;
        }
    }
    return best;
}

} // namespace

double usualFocalLength(cv::Size pictureSize) {
    return 0.8 * std::max(pictureSize.width, pictureSize.height);
}

double sheetAspect(const Quad &quad, cv::Size pictureSize) {
    cv::Size2d span = quadSpan(quad);
    double plain = span.height / std::max(1e-9, span.width);
    // The rectangle's corners as m1..m4 = (0,0), (w,0), (0,h), (w,h) seen in the picture.
    cv::Vec3d m1(quad[0].x, quad[0].y, 1), m2(quad[1].x, quad[1].y, 1);
    cv::Vec3d m3(quad[3].x, quad[3].y, 1), m4(quad[2].x, quad[2].y, 1);
    double k2 = m1.cross(m4).dot(m3) / m2.cross(m4).dot(m3);
    double k3 = m1.cross(m4).dot(m2) / m3.cross(m4).dot(m2);
    cv::Vec3d n2 = k2 * m2 - m1, n3 = k3 * m3 - m1;
    double u0 = (pictureSize.width - 1) / 2.0, v0 = (pictureSize.height - 1) / 2.0;
    double f2 = 0;
    if (std::abs(n2[2] * n3[2]) > 1e-12) {
        f2 = -((n2[0] - u0 * n2[2]) * (n3[0] - u0 * n3[2]) +
               (n2[1] - v0 * n2[2]) * (n3[1] - v0 * n3[2])) /
             (n2[2] * n3[2]);
    }
    double longSide = std::max(pictureSize.width, pictureSize.height);
    // A focal length outside what cameras have means the perspective is too slight to measure:
    // take a phone's usual one instead.
    double f = f2 > 0 ? std::sqrt(f2) : 0;
    if (f < 0.4 * longSide || f > 4 * longSide) {
        f = usualFocalLength(pictureSize);
    }
    auto weighed = [&](const cv::Vec3d &n) {
        double x = (n[0] - u0 * n[2]) / f, y = (n[1] - v0 * n[2]) / f;
        return x * x + y * y + n[2] * n[2];
    };
    double w2 = weighed(n2), h2 = weighed(n3);
    if (!(w2 > 0) || !(h2 > 0) || !std::isfinite(w2 / h2)) {
        return plain;
    }
    double aspect = std::sqrt(h2 / w2);
    // Far outside the plain ratio means a degenerate view; trust the plain ratio then.
    return aspect > plain / 3 && aspect < plain * 3 ? aspect : plain;
}

PageShape shapeAtResolution(cv::Size size, double dpi, PaperSize paper) {
    PageShape shape{size, dpi, PaperSize::None};
    const bool portrait = size.height >= size.width;
    const int longSide = std::max(size.width, size.height);
    const double longOverShort =
        static_cast<double>(longSide) / std::max(1, std::min(size.width, size.height));
    for (const Paper &p : kPapers) {
        const double ratio = p.longInches / p.shortInches;
        if (p.size != paper || std::abs(longOverShort / ratio - 1) > kSnapTolerance) {
            continue;
        }
        const int shortSide = std::max(1, static_cast<int>(std::lround(longSide / ratio)));
        shape.size = portrait ? cv::Size(shortSide, longSide) : cv::Size(longSide, shortSide);
        shape.paper = paper;
    }
    return shape;
}

cv::Size2d quadSpan(const Quad &q) {
    double wide = (cv::norm(q[1] - q[0]) + cv::norm(q[2] - q[3])) / 2;
    double high = (cv::norm(q[3] - q[0]) + cv::norm(q[2] - q[1])) / 2;
    return {wide, high};
}

PageShape pageShape(double aspect, double pixelsWide, double pixelsHigh, double statedDpi,
                    Snap snap) {
    PageShape shape;
    aspect = std::clamp(aspect, 1e-3, 1e3);
    bool portrait = aspect >= 1;
    double longOverShort = portrait ? aspect : 1 / aspect;
    // The resolution the picture has for the page: along its better-resolved direction.
    double longPixels = std::max(portrait ? pixelsHigh : pixelsWide,
                                 (portrait ? pixelsWide : pixelsHigh) * longOverShort);
    double longInches = statedDpi > 0 ? longPixels / statedDpi : 0;
    const Paper *paper = snap == Snap::None ? nullptr : snappedPaper(longOverShort, longInches);
    double paperLong = paper ? paper->longInches : kPapers[0].longInches;
    if (paper) {
        shape.paper = paper->size;
    }
    if (paper && snap == Snap::Reshape) {
        longOverShort = paper->longInches / paper->shortInches;
    }
    // A page of unknown size is taken to be as long as A4.
    double dpi = statedDpi > 0 ? statedDpi : longPixels / paperLong;
    if (dpi > kMaxDpi) {
        longPixels *= kMaxDpi / dpi;
        dpi = kMaxDpi;
    }
    int longSide = std::clamp(static_cast<int>(std::lround(longPixels)), 1, kMaxPageLongSide);
    int shortSide = std::max(1, static_cast<int>(std::lround(longSide / longOverShort)));
    shape.size = portrait ? cv::Size(shortSide, longSide) : cv::Size(longSide, shortSide);
    shape.dpi = dpi * longSide / std::max(1.0, longPixels);
    return shape;
}

} // namespace folvane::correction
