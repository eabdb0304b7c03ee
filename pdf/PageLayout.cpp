#include "pdf/PageLayout.h"

#include <algorithm>
#include <cmath>

namespace folvane {

namespace {

// Indexed by resolution class: 2, 3, 5, 8, 10 and 16 million pixels.
constexpr float kScales[] = {0.525f, 0.42f, 0.331f, 0.264f, 0.2358f, 0.1871f};

constexpr int kFitIndex = 6;

// The page sizes a PDF reader takes, in points.
constexpr double kSmallestPage = 3;
constexpr double kLargestPage = 14400;

// Points per inch: an image that states no resolution counts as this many dots per inch.
constexpr double kPointsPerInch = 72;

bool positive(double value) {
    return value > 0 && std::isfinite(value);
}

// Extents this close to the page edge count as inside: float rounding, not lost pixels.
constexpr double kEdgeTolerance = 1e-3;

double shareOutside(double width, double height, double pageWidth, double pageHeight) {
    double shownWidth = std::min(width, pageWidth + kEdgeTolerance);
    double shownHeight = std::min(height, pageHeight + kEdgeTolerance);
    double share = 1.0 - (shownWidth * shownHeight) / (width * height);
    return std::clamp(share, 0.0, 1.0);
}

// The largest float scale at which `side` pixels still fit in `room` points.
float fittingScale(double side, double room) {
    float scale = static_cast<float>(room / side);
    while (scale > 0 && static_cast<double>(scale) * side > room) {
        scale = std::nextafter(scale, 0.0f);
    }
    return scale;
}

// The margin that centres `shown` points in `room`, to a hundredth of a point: rounding can
// only take from a margin of at least half a hundredth, so the image stays inside.
float margin(double room, double shown) {
    return static_cast<float>(std::round((room - shown) / 2 * 100) / 100);
}

} // namespace

float scaleForImageType(int imageType) {
    if (imageType < 0 || imageType > 5) {
        return kScales[5];
    }
    return kScales[imageType];
}

PageLayout PageLayout::ofClass(int imageType) {
    return PageLayout{false, imageType};
}

PageLayout PageLayout::fitted() {
    return PageLayout{true, 1};
}

PageLayout PageLayout::fromImageType(int index) {
    return index == kFitIndex ? fitted() : ofClass(index);
}

PageLayout PageLayout::onPaper(Paper chosen) const {
    PageLayout layout = *this;
    layout.paper = chosen;
    return layout;
}

namespace {

// The image at its own resolution fills its page, which PDF readers take from 3 to 14400
// points a side: an image beyond that is drawn smaller, keeping its shape.
PagePlacement placeAtOwnSize(double uprightWidth, double uprightHeight, double dpiX, double dpiY) {
    const double x = positive(dpiX) ? dpiX : kPointsPerInch;
    const double y = positive(dpiY) ? dpiY : kPointsPerInch;
    double pageWidth = uprightWidth * kPointsPerInch / x;
    double pageHeight = uprightHeight * kPointsPerInch / y;
    const double shrink = std::min({1.0, kLargestPage / pageWidth, kLargestPage / pageHeight});
    pageWidth = std::clamp(pageWidth * shrink, kSmallestPage, kLargestPage);
    pageHeight = std::clamp(pageHeight * shrink, kSmallestPage, kLargestPage);
    const auto width = static_cast<float>(pageWidth);
    const auto height = static_cast<float>(pageHeight);
    const float scale =
        std::min(fittingScale(uprightWidth, width), fittingScale(uprightHeight, height));
    return PagePlacement{
        width, height, margin(width, uprightWidth * scale), margin(height, uprightHeight * scale),
        scale, 0.0};
}

} // namespace

PagePlacement placeOnPage(const PageLayout &layout, double uprightWidth, double uprightHeight,
                          double dpiX, double dpiY) {
    const bool sized = positive(uprightWidth) && positive(uprightHeight);
    const PaperSides sides = sidesOf(layout.paper == Paper::SameAsImage ? Paper::A4 : layout.paper);
    const float shortSide = sides.shortSide;
    const float longSide = sides.longSide;
    if (layout.paper == Paper::SameAsImage && sized) {
        return placeAtOwnSize(uprightWidth, uprightHeight, dpiX, dpiY);
    }
    if (!layout.fit) {
        const float scale = scaleForImageType(layout.imageType);
        double outside =
            sized ? shareOutside(uprightWidth * scale, uprightHeight * scale, shortSide, longSide)
                  : 0.0;
        return PagePlacement{shortSide, longSide, 0, 0, scale, outside};
    }
    if (!sized) {
        return PagePlacement{shortSide, longSide, 0, 0, 1, 0};
    }
    const bool landscape = uprightWidth > uprightHeight;
    const float pageWidth = landscape ? longSide : shortSide;
    const float pageHeight = landscape ? shortSide : longSide;
    const float scale =
        std::min(fittingScale(uprightWidth, pageWidth), fittingScale(uprightHeight, pageHeight));
    const float x = margin(pageWidth, uprightWidth * scale);
    const float y = margin(pageHeight, uprightHeight * scale);
    return PagePlacement{pageWidth, pageHeight, x, y, scale, 0.0};
}

PagePlacement placeSheet(const PageLayout &layout, double sheetWidth, double sheetHeight,
                         double uprightWidth, double uprightHeight) {
    if (!positive(sheetWidth) || !positive(sheetHeight) || !positive(uprightWidth) ||
        !positive(uprightHeight)) {
        return placeOnPage(layout, uprightWidth, uprightHeight);
    }
    const auto pageWidth = static_cast<float>(std::clamp(sheetWidth, kSmallestPage, kLargestPage));
    const auto pageHeight =
        static_cast<float>(std::clamp(sheetHeight, kSmallestPage, kLargestPage));
    const float scale =
        std::min(fittingScale(uprightWidth, pageWidth), fittingScale(uprightHeight, pageHeight));
    const float x = margin(pageWidth, uprightWidth * scale);
    const float y = margin(pageHeight, uprightHeight * scale);
    return PagePlacement{pageWidth, pageHeight, x, y, scale, 0.0};
}

} // namespace folvane
