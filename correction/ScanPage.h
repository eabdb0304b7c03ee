// A scan's page: its skew, found from the text lines (or, on a blank page, from its edges),
// and the part of the scan that is paper, without the dark border a scanner leaves around it.
#pragma once

#include <opencv2/core.hpp>

#include "correction/Geometry.h"
#include "correction/UprightImage.h"

namespace folvane::correction {

struct ScanPage {
    Quad corners{};          // the page in upright pixels, a rectangle turned by `skewDegrees`
    double skewDegrees = 0;  // clockwise positive, within 15 degrees
    bool darkBorder = false; // a dark border was found and cut away
};

ScanPage findScanPage(const UprightImage &upright);

// True when the picture's margins hold the dark, even border of a scanner's lid or background
// along at least one side, ending in a step up to paper (not a gradient's dark end).
bool hasScannerBorder(const UprightImage &upright);

} // namespace folvane::correction
