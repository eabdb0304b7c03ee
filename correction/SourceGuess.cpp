#include "correction/SourceGuess.h"

#include <algorithm>
#include <vector>

#include <opencv2/imgproc.hpp>

#include "correction/Reduce.h"
#include "correction/ScanPage.h"

namespace correction {

namespace {

// No perspective: every corner within a degree and a half of square.
bool squareCornered(const Quad &q) {
    for (double angle : cornerAngles(q)) {
        if (std::abs(angle - 90) > 1.5) {
            return false;
        }
    }
    return true;
}

// Bright paper to the picture's edges, no cell of an 8 x 8 grid much darker than another:
// a scanner's light, not a lamp's or a window's.
bool evenlyLitPaper(const UprightImage &upright) {
    cv::Mat reduced = upright.reduced(factorFor(upright.size(), 256)), small;
    cv::resize(reduced, reduced, cv::Size(64, 64), 0, 0, cv::INTER_AREA);
    cv::cvtColor(reduced, small, cv::COLOR_RGB2GRAY);
    cv::Mat kernel = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(5, 5));
    cv::dilate(small, small, kernel); // paper between the text
    cv::resize(small, small, cv::Size(8, 8), 0, 0, cv::INTER_AREA);
    double low = 0, high = 0;
    cv::minMaxLoc(small, &low, &high);
    return low >= 190 && high - low <= 25;
}

} // namespace

SourceKind guessSource(const UprightImage &upright, const SheetFound &sheet) {
    if (sheet.found && squareCornered(sheet.corners) && hasScannerBorder(upright)) {
        return SourceKind::Scan;
    }
    if (!sheet.found && (hasScannerBorder(upright) || evenlyLitPaper(upright))) {
        return SourceKind::Scan;
    }
    return SourceKind::Photo;
}

} // namespace correction
