#include "correction/PageMaker.h"

#include <algorithm>
#include <cmath>

#include <opencv2/imgproc.hpp>

#include "correction/Background.h"
#include "correction/Geometry.h"
#include "correction/PageCleaner.h"
#include "correction/PageContent.h"
#include "correction/PageShape.h"
#include "correction/ScanPage.h"
#include "correction/SheetFinder.h"
#include "correction/SourceGuess.h"

namespace correction {

namespace {

struct PagePlan {
    Quad quad{};
    PageShape shape;
    PageFacts facts;
    bool paperFill = false; // outside the picture is paper (a turned scan), not more picture
};

double tiltOf(const Quad &q) {
    cv::Point2d across = (q[1] - q[0]) + (q[2] - q[3]);
    return std::atan2(across.y, across.x) * 180 / CV_PI;
}

PagePlan photoPlan(const cv::Mat &upright, const Quad &quad, bool found, double confidence) {
    PagePlan plan;
    plan.quad = quad;
    cv::Size2d span = quadSpan(quad);
    double aspect = found ? sheetAspect(quad, upright.size()) : span.height / span.width;
    plan.shape = pageShape(aspect, span.width, span.height, 0, found ? Snap::Reshape : Snap::None);
    plan.facts.found = found;
    plan.facts.confidence = confidence;
    plan.facts.treatedAs = SourceKind::Photo;
    plan.facts.deskewDegrees = found ? tiltOf(quad) : 0;
    return plan;
}

PagePlan scanPlan(const Quad &quad, double skew, bool found, double statedDpi) {
    PagePlan plan;
    plan.quad = quad;
    cv::Size2d span = quadSpan(quad);
    plan.shape = pageShape(span.height / std::max(1e-9, span.width), span.width, span.height,
                           statedDpi, Snap::NameOnly);
    plan.paperFill = true;
    plan.facts.found = found;
    plan.facts.confidence = found ? 1 : 0;
    plan.facts.treatedAs = SourceKind::Scan;
    plan.facts.deskewDegrees = skew;
    return plan;
}

PagePlan plan(const cv::Mat &upright, const Picture &picture) {
    if (picture.corners) {
        Quad given = toQuad(*picture.corners);
        if (picture.kind == SourceKind::Scan) {
            return scanPlan(given, tiltOf(given), true, picture.dpi);
        }
        return photoPlan(upright, given, true, 1);
    }
    SourceKind kind = picture.kind;
    SheetFound sheet;
    sheet.corners = wholePicture(upright.size());
    if (kind != SourceKind::Scan) {
        sheet = findSheetIn(upright);
    }
    if (kind == SourceKind::Unknown) {
        kind = guessSource(upright, sheet);
    }
    if (kind == SourceKind::Scan) {
        ScanPage scan = findScanPage(upright);
        return scanPlan(scan.corners, scan.skewDegrees, scan.darkBorder, picture.dpi);
    }
    return photoPlan(upright, sheet.corners, sheet.found, sheet.confidence);
}

// The quad's part of the picture, reduced first when it holds far more pixels than the page
// (a bilinear warp alone would alias the text), warped to the page's rectangle.
cv::Mat warpToPage(const cv::Mat &upright, const PagePlan &plan) {
    cv::Size size = plan.shape.size;
    cv::Rect bounds =
        cv::boundingRect(std::vector<cv::Point2f>(plan.quad.begin(), plan.quad.end()));
    bounds = cv::Rect(bounds.x - 2, bounds.y - 2, bounds.width + 4, bounds.height + 4) &
             cv::Rect(0, 0, upright.cols, upright.rows);
    if (bounds.empty()) {
        bounds = cv::Rect(0, 0, upright.cols, upright.rows);
    }
    cv::Mat source = upright(bounds);
    cv::Point2d offset(bounds.x, bounds.y);
    cv::Size2d span = quadSpan(plan.quad);
    double f = std::min(span.width / size.width, span.height / size.height);
    double shrink = 1;
    if (f > 1.5) {
        cv::Size reduced(std::max(1, static_cast<int>(std::lround(source.cols / f))),
                         std::max(1, static_cast<int>(std::lround(source.rows / f))));
        cv::resize(source, source, reduced, 0, 0, cv::INTER_AREA);
        shrink = static_cast<double>(bounds.width) / reduced.width;
    }
    std::vector<cv::Point2f> from, to = {{-0.5f, -0.5f},
                                         {size.width - 0.5f, -0.5f},
                                         {size.width - 0.5f, size.height - 0.5f},
                                         {-0.5f, size.height - 0.5f}};
    for (const cv::Point2d &p : plan.quad) {
        cv::Point2d local = (p - offset + cv::Point2d(0.5, 0.5)) / shrink - cv::Point2d(0.5, 0.5);
        from.emplace_back(static_cast<float>(local.x), static_cast<float>(local.y));
    }
    cv::Mat transform = cv::getPerspectiveTransform(from, to);
    cv::Mat page;
    cv::warpPerspective(source, page, transform, size, cv::INTER_LINEAR,
                        plan.paperFill ? cv::BORDER_CONSTANT : cv::BORDER_REPLICATE,
                        cv::Scalar(255, 255, 255));
    return page;
}

void fillImages(CorrectedPage &page, const cv::Mat &flat) {
    CleanPage clean = cleanPage(flat);
    page.content = contentOf(clean);
    cv::Mat ink = inkMask(clean, page.content);
    page.ink = packBits(ink, page.inkRowBytes);
    cv::Mat grey = clean.grey.isContinuous() ? clean.grey : clean.grey.clone();
    page.grey.assign(grey.data, grey.data + grey.total());
    if (page.content != ContentKind::Colour) {
        return;
    }
    Background bg = makeBackground(clean.colour, ink, page.dpi);
    page.backgroundWidth = bg.rgb.cols;
    page.backgroundHeight = bg.rgb.rows;
    page.backgroundDpi = bg.dpi;
    page.background.assign(bg.rgb.data, bg.rgb.data + bg.rgb.total() * 3);
}

} // namespace

CorrectedPage makePage(const cv::Mat &uprightRgb, const Picture &picture) {
    PagePlan p = plan(uprightRgb, picture);
    p.facts.corners = toCorners(p.quad);
    p.facts.paper = p.shape.paper;
    CorrectedPage page;
    page.width = p.shape.size.width;
    page.height = p.shape.size.height;
    page.dpi = p.shape.dpi;
    page.facts = p.facts;
    fillImages(page, warpToPage(uprightRgb, p));
    return page;
}

} // namespace correction
