// Tells a scan from a photo when the caller does not know: a scan's page is an exact rectangle
// inside the dark border of the scanner, or fills the picture under light as even as paper
// gets; anything else was photographed.
#pragma once

#include <opencv2/core.hpp>

#include "correction/Correction.h"
#include "correction/SheetFinder.h"

namespace folvane::correction {

SourceKind guessSource(const UprightImage &upright, const SheetFound &sheet);

// What the correction takes the picture for: the kind the caller gave, or the guess when it gave
// none. The sheet search and the correction both ask this, so that they agree.
inline SourceKind sourceKindOf(const Picture &picture, const UprightImage &upright,
                               const SheetFound &sheet) {
    return picture.kind == SourceKind::Unknown ? guessSource(upright, sheet) : picture.kind;
}

} // namespace folvane::correction
