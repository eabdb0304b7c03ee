#include "correction/SourceGuess.h"

#include <algorithm>
#include <vector>

#include <opencv2/imgproc.hpp>

#include "correction/Reduce.h"
#include "correction/ScanPage.h"

namespace folvane::correction {

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

// A reduced grey copy with the text closed over by the paper between it.
cv::Mat paperLight(const UprightImage &upright, int &factor) {
    factor = factorFor(upright.size(), 256);
    cv::Mat grey;
    cv::cvtColor(upright.reduced(factor), grey, cv::COLOR_RGB2GRAY);
    cv::dilate(grey, grey, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(5, 5)));
    return grey;
}

// Paper lit as a scanner lights it: over a grid across the quad (upright pixels), no place
// much darker than another. A lamp or a window leaves fall-off, a hand or a phone a shadow.
bool evenlyLit(const UprightImage &upright, const Quad &q) {
    int factor = 1;
    cv::Mat light = paperLight(upright, factor);
    int low = 255, high = 0;
    for (int i = 0; i < 7; ++i) {
        for (int j = 0; j < 7; ++j) {
            double u = 0.1 + 0.8 * i / 6, v = 0.1 + 0.8 * j / 6;
            cv::Point2d top = q[0] + (q[1] - q[0]) * u, bottom = q[3] + (q[2] - q[3]) * u;
            cv::Point2d p = (top + (bottom - top) * v) / static_cast<double>(factor);
            int x = std::clamp(static_cast<int>(p.x), 0, light.cols - 1);
            int y = std::clamp(static_cast<int>(p.y), 0, light.rows - 1);
            low = std::min<int>(low, light.at<uint8_t>(y, x));
            high = std::max<int>(high, light.at<uint8_t>(y, x));
        }
    }
    return low >= 150 && high - low <= 20;
}

} // namespace

SourceKind guessSource(const UprightImage &upright, const SheetFound &sheet) {
    if (sheet.found) {
        bool scanned = squareCornered(sheet.corners) && hasScannerBorder(upright) &&
                       evenlyLit(upright, sheet.corners);
        return scanned ? SourceKind::Scan : SourceKind::Photo;
    }
    bool scanned = hasScannerBorder(upright) || evenlyLit(upright, wholePicture(upright.size()));
    return scanned ? SourceKind::Scan : SourceKind::Photo;
}

} // namespace folvane::correction
