// Finds the sheet in a photo: quadrilaterals built from pairs of line hypotheses and from the
// paper-coloured region, each scored against the evidence, the best refined at full resolution.
#pragma once

#include <opencv2/core.hpp>

#include "correction/Geometry.h"
#include "correction/UprightImage.h"

namespace folvane::correction {

struct SheetFound {
    bool found = false;
    Quad corners{};         // full-resolution upright pixels; the whole picture when not found
    double confidence = 0;  // 0..1
    bool twoSheets = false; // sheets lie side by side: none of them is taken
};

// The confidence from which a sheet counts as found.
constexpr double kFoundConfidence = 0.3;

SheetFound findSheetIn(const UprightImage &upright);

} // namespace folvane::correction
