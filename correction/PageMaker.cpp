#include "correction/PageMaker.h"

#include <algorithm>
#include <cmath>

#include <opencv2/imgproc.hpp>

#include "correction/Background.h"
#include "correction/CurvedPage.h"
#include "correction/DeskDips.h"
#include "correction/Geometry.h"
#include "correction/Limits.h"
#include "correction/PageCleaner.h"
#include "correction/PageContent.h"
#include "correction/PageEdges.h"
#include "correction/PageShape.h"
#include "correction/ScanPage.h"
#include "correction/SheetFinder.h"
#include "correction/SourceGuess.h"
#include "correction/SpreadFold.h"

namespace folvane::correction {

namespace {

constexpr double kCoarseScanDpi = 200;

struct PagePlan {
    Quad quad{};
    PageShape shape;
    PageFacts facts;
    bool paperFill = false; // outside the picture is paper (a turned scan), not more picture
    // The page has more pixels than the picture gave it (a coarse scan made finer): how soft
    // its text looks is then the interpolation's doing, which the finer cut is there for.
    bool interpolated = false;
    bool twoSheets = false; // sheets side by side: nothing is made
};

double tiltOf(const Quad &q) {
    cv::Point2d across = (q[1] - q[0]) + (q[2] - q[3]);
    return std::atan2(across.y, across.x) * 180 / CV_PI;
}

PagePlan photoPlan(const UprightImage &upright, const Quad &quad, bool found, double confidence) {
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

// A coarse scan's page at twice its resolution, within the page's ceilings (300 dpi, the long
// side of A4 at 300 dpi): at 150 dpi a stroke of small Chinese text is a pixel or two wide, and a
// bilevel page cut at that resolution fills in the gaps between strokes; cut from the grey
// interpolated to twice as many pixels, the strokes keep their shape.
PageShape finerIfCoarse(PageShape shape) {
    if (shape.dpi <= 0 || shape.dpi >= kCoarseScanDpi) {
        return shape;
    }
    int longSide = std::max(shape.size.width, shape.size.height);
    double factor = std::min(
        {2.0, kMaxDpi / shape.dpi, static_cast<double>(kMaxPageLongSide) / std::max(1, longSide)});
    if (factor <= 1) {
        return shape;
    }
    shape.size = cv::Size(static_cast<int>(std::lround(shape.size.width * factor)),
                          static_cast<int>(std::lround(shape.size.height * factor)));
    shape.dpi *= factor;
    return shape;
}

PagePlan scanPlan(const Quad &quad, double skew, bool found, double statedDpi) {
    PagePlan plan;
    plan.quad = quad;
    cv::Size2d span = quadSpan(quad);
    PageShape shape = pageShape(span.height / std::max(1e-9, span.width), span.width, span.height,
                                statedDpi, Snap::NameOnly);
    plan.shape = finerIfCoarse(shape);
    plan.interpolated = plan.shape.size != shape.size;
    plan.paperFill = true;
    plan.facts.found = found;
    plan.facts.confidence = found ? 1 : 0;
    plan.facts.treatedAs = SourceKind::Scan;
    plan.facts.deskewDegrees = skew;
    return plan;
}

PagePlan plan(const UprightImage &upright, const Picture &picture) {
    if (picture.corners) {
        Quad given = toQuad(*picture.corners);
        if (picture.kind == SourceKind::Scan) {
            return scanPlan(given, tiltOf(given), true, picture.dpi);
        }
        return photoPlan(upright, given, true, 1);
    }
    SheetFound sheet;
    sheet.corners = wholePicture(upright.size());
    if (picture.kind != SourceKind::Scan) {
        sheet = findSheetIn(upright);
    }
    if (sourceKindOf(picture, upright, sheet) == SourceKind::Scan) {
        ScanPage scan = findScanPage(upright);
        return scanPlan(scan.corners, scan.skewDegrees, scan.darkBorder, picture.dpi);
    }
    PagePlan photo = photoPlan(upright, sheet.corners, sheet.found, sheet.confidence);
    photo.twoSheets = sheet.twoSheets;
    return photo;
}

// A picture too small to hold a page: cleaned, its few pixels would come out as a pattern of
// ink and paper that the picture never showed.
bool plainPicture(const UprightImage &upright) {
    return std::min(upright.size().width, upright.size().height) < kMinSearchSide;
}

// The quad's part of the stored rows, reduced first when it holds far more pixels than the
// page (a bilinear warp alone would alias the text), warped to the page's rectangle. The
// orientation only moves the quad's corners: the warp reads the stored rows themselves.
cv::Mat warpToPage(const UprightImage &upright, const PagePlan &plan) {
    cv::Size size = plan.shape.size;
    std::vector<cv::Point2f> stored;
    for (const cv::Point2d &p : plan.quad) {
        cv::Point2d s = upright.toStored(p);
        stored.emplace_back(static_cast<float>(s.x), static_cast<float>(s.y));
    }
    cv::Rect whole(0, 0, upright.stored().cols, upright.stored().rows);
    cv::Rect bounds = cv::boundingRect(stored);
    bounds = cv::Rect(bounds.x - 2, bounds.y - 2, bounds.width + 4, bounds.height + 4) & whole;
    if (bounds.empty()) {
        bounds = whole;
    }
    cv::Mat source = upright.stored()(bounds);
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
    for (const cv::Point2f &p : stored) {
        cv::Point2f local =
            (p - cv::Point2f(bounds.tl()) + cv::Point2f(0.5f, 0.5f)) / static_cast<float>(shrink) -
            cv::Point2f(0.5f, 0.5f);
        from.push_back(local);
    }
    cv::Mat transform = cv::getPerspectiveTransform(from, to);
    cv::Mat page;
    cv::warpPerspective(source, page, transform, size, cv::INTER_LINEAR,
                        plan.paperFill ? cv::BORDER_CONSTANT : cv::BORDER_REPLICATE,
                        cv::Scalar(255, 255, 255));
    return page;
}

// A straightened page is as wide as its surface, where the four-corner page had the chord: the
// page's shape follows the surface, at the resolution it has, keeping the paper it was taken for
// (A4's length when none was named) if its new shape is still that paper's. A book's page keeps
// the shape it shares with the facing page, so that both come out the same size.
cv::Mat shapedLikeItsSurface(cv::Mat surface, CorrectedPage &page) {
    if (surface.cols == page.width) {
        return surface;
    }
    cv::Size size(page.width, page.height);
    if (page.facts.spreadPage == 0) {
        const PaperSize paper =
            page.facts.paper == PaperSize::None ? PaperSize::A4 : page.facts.paper;
        const PageShape shape = shapeAtResolution(surface.size(), page.dpi, paper);
        size = shape.size;
        page.width = size.width;
        page.height = size.height;
        page.facts.paper = shape.paper;
    }
    if (surface.size() != size) {
        cv::resize(surface, surface, size, 0, 0, cv::INTER_AREA);
    }
    return surface;
}

// The four-corner page, or, when its text lines bend past the threshold, the page remapped so
// that they run straight. A flat page is handed on untouched. A page of an open book bends into
// its gutter however slightly: it follows its text lines whenever they can be told.
cv::Mat straightenIfCurved(const cv::Mat &flat, const PageCamera &camera, CorrectedPage &page) {
    PageCurve curve = pageCurveOf(flat, page.dpi);
    page.facts.lineSag = curve.sag;
    const bool bound = page.facts.spreadPage != 0 && !curve.disparity.empty();
    if (!curve.curved() && !bound) {
        return flat;
    }
    page.facts.straightened = true;
    if (curve.dipLeft == 0 && curve.dipRight == 0) {
        return shapedLikeItsSurface(straightened(flat, curve, camera), page);
    }
    cv::Mat painted = flat.clone();
    paperOverDips(painted, 0, curve.dipLeft, curve.paperLight);
    paperOverDips(painted, flat.cols - curve.dipRight, flat.cols, curve.paperLight);
    return shapedLikeItsSurface(straightened(painted, curve, camera), page);
}

// Where the point `at` lands carried between the upright picture and the page (its pixel edges,
// as warpToPage maps them): onto the page, or back into the picture.
cv::Point2f carried(const PagePlan &p, cv::Point2f at, bool ontoPage) {
    const cv::Size size = p.shape.size;
    const std::vector<cv::Point2f> rect = {
        {0, 0},
        {static_cast<float>(size.width), 0},
        {static_cast<float>(size.width), static_cast<float>(size.height)},
        {0, static_cast<float>(size.height)}};
    std::vector<cv::Point2f> quad;
    for (const cv::Point2d &q : p.quad) {
        quad.emplace_back(static_cast<float>(q.x), static_cast<float>(q.y));
    }
    std::vector<cv::Point2f> in = {at}, out;
    cv::perspectiveTransform(in, out,
                             ontoPage ? cv::getPerspectiveTransform(quad, rect)
                                      : cv::getPerspectiveTransform(rect, quad));
    return out[0];
}

// The camera over a photo's four-corner page: the photo's centre carried onto the page, and a
// phone's usual focal length in page pixels. None for a scan.
PageCamera cameraOver(const PagePlan &p, cv::Size picture) {
    if (p.facts.treatedAs != SourceKind::Photo || quadArea(p.quad) <= 0) {
        return {};
    }
    const cv::Point2f foot = carried(p, {picture.width / 2.0f, picture.height / 2.0f}, true);
    if (!std::isfinite(foot.x) || !std::isfinite(foot.y)) {
        return {};
    }
    const double scale = std::sqrt(static_cast<double>(p.shape.size.area()) / quadArea(p.quad));
    return {cv::Point2d(foot.x, foot.y), usualFocalLength(picture) * scale};
}

void fillImages(CorrectedPage &page, const cv::Mat &flat, bool interpolated) {
    CleanPage clean = cleanPage(flat);
    if (page.facts.found) {
        clearEdges(clean, page.dpi);
    }
    page.content = contentOf(clean);
    page.softText = !interpolated && textTooSoft(clean);
    cv::Mat ink = inkMask(clean, page.content);
    page.ink = packBits(ink, page.inkRowBytes);
    cv::Mat grey = clean.grey.isContinuous() ? clean.grey : clean.grey.clone();
    page.grey.assign(grey.data, grey.data + grey.total());
    if (page.content != ContentKind::Colour) {
        return;
    }
    if (page.softText) {
        cv::Mat colour = clean.colour.isContinuous() ? clean.colour : clean.colour.clone();
        page.backgroundWidth = colour.cols;
        page.backgroundHeight = colour.rows;
        page.backgroundDpi = page.dpi;
        page.background.assign(colour.data, colour.data + colour.total() * 3);
        return;
    }
    Background bg = makeBackground(clean.colour, ink, page.dpi);
    page.backgroundWidth = bg.rgb.cols;
    page.backgroundHeight = bg.rgb.rows;
    page.backgroundDpi = bg.dpi;
    page.background.assign(bg.rgb.data, bg.rgb.data + bg.rgb.total() * 3);
}

// The page the plan lays out, before its pixels: its size, resolution and facts.
CorrectedPage laidOut(const PagePlan &p) {
    CorrectedPage page;
    page.width = p.shape.size.width;
    page.height = p.shape.size.height;
    page.dpi = p.shape.dpi;
    page.facts = p.facts;
    page.facts.corners = toCorners(p.quad);
    page.facts.paper = p.shape.paper;
    return page;
}

// The page made of its four-corner pixels `flat`: straightened when its lines bend, cleaned,
// split into ink and background.
CorrectedPage finished(CorrectedPage page, cv::Mat flat, const Picture &picture, const PagePlan &p,
                       const PageCamera &camera, bool plain) {
    if (picture.straightenCurves && !plain &&
        (p.facts.found || p.facts.treatedAs == SourceKind::Scan)) {
        flat = straightenIfCurved(flat, camera, page);
    }
    fillImages(page, flat, p.interpolated);
    if (plain) {
        page.facts.found = false;
        page.facts.plain = true;
    }
    return page;
}

// Where the point `at` of the page (its pixel edges, as warpToPage maps them) lies in the
// upright picture.
Point pictureAt(const PagePlan &p, cv::Point2f at) {
    const cv::Point2f in = carried(p, at, false);
    return {in.x, in.y};
}

// One page of a spread: the columns [from, to) of its four-corner pixels, given the shape of a
// page of its own (a photo's resolution follows from its paper; a scan's stays as stated).
// `aspect` is the book's pages' height over width, the same for both, so that both snap to the
// same paper and come out the same size.
CorrectedPage spreadPage(const PagePlan &spread, const cv::Mat &flat, int from, int to, int place,
                         double aspect, const PageCamera &camera, const Picture &picture) {
    PagePlan p = spread;
    const cv::Mat half = flat.colRange(from, to);
    const bool scan = spread.facts.treatedAs == SourceKind::Scan;
    p.shape =
        pageShape(scan ? static_cast<double>(half.rows) / half.cols : aspect, half.cols, half.rows,
                  scan ? spread.shape.dpi : 0, scan ? Snap::NameOnly : Snap::Reshape);
    const float top = 0, bottom = static_cast<float>(flat.rows);
    const auto left = static_cast<float>(from), right = static_cast<float>(to);
    CorrectedPage page = laidOut(p);
    page.facts.spreadPage = place;
    page.facts.corners = {pictureAt(spread, {left, top}), pictureAt(spread, {right, top}),
                          pictureAt(spread, {right, bottom}), pictureAt(spread, {left, bottom})};
    cv::Mat pixels = half;
    if (half.size() != p.shape.size) {
        cv::resize(half, pixels, p.shape.size, 0, 0, cv::INTER_AREA);
    }
    // The same camera, over the half as it is resized.
    const double across = static_cast<double>(p.shape.size.width) / half.cols;
    const double down = static_cast<double>(p.shape.size.height) / half.rows;
    const PageCamera over{{(camera.foot.x - from) * across, camera.foot.y * down},
                          camera.height * std::sqrt(across * down)};
    return finished(std::move(page), pixels, picture, p, over, false);
}

// Where an open book shown on the four-corner page `flat` folds; column 0 for no book.
Fold spreadFold(const UprightImage &upright, const Picture &picture, const PagePlan &p,
                const cv::Mat &flat) {
    const bool plain = !picture.corners && plainPicture(upright);
    const bool sheet = p.facts.found || p.facts.treatedAs == SourceKind::Scan;
    return picture.splitSpreads && sheet && !plain && !p.twoSheets ? foldOf(flat) : Fold{};
}

} // namespace

bool showsSpread(const UprightImage &upright, const Picture &picture) {
    const PagePlan p = plan(upright, picture);
    return spreadFold(upright, picture, p, warpToPage(upright, p)).column != 0;
}

std::vector<CorrectedPage> makePages(const UprightImage &upright, const Picture &picture) {
    PagePlan p = plan(upright, picture);
    CorrectedPage page = laidOut(p);
    if (p.twoSheets) {
        CorrectedPage refused;
        refused.failure.kind = Failure::Kind::TwoSheets;
        return {refused};
    }
    const bool plain = !picture.corners && plainPicture(upright);
    cv::Mat flat = warpToPage(upright, p);
    const Fold found = spreadFold(upright, picture, p, flat);
    const PageCamera camera = cameraOver(p, upright.size());
    if (found.column == 0) {
        return {finished(std::move(page), std::move(flat), picture, p, camera, plain)};
    }
    const int reach = static_cast<int>(kFoldReach * flat.cols);
    paperOverDips(flat, found.column - reach, found.column + reach, found.paperLight);
    const int fold = found.column;
    // In reading order: left then right, or right then left.
    const int left = picture.rightToLeft ? 2 : 1;
    // The pages of one book share their paper: the mean of the two halves' shapes.
    const double aspect = (static_cast<double>(flat.rows) / fold +
                           static_cast<double>(flat.rows) / (flat.cols - fold)) /
                          2;
    std::vector<CorrectedPage> pages;
    pages.push_back(spreadPage(p, flat, 0, fold, left, aspect, camera, picture));
    pages.push_back(spreadPage(p, flat, fold, flat.cols, 3 - left, aspect, camera, picture));
    if (picture.rightToLeft) {
        std::swap(pages[0], pages[1]);
    }
    return pages;
}

} // namespace folvane::correction
