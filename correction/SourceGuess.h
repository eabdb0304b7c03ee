// Tells a scan from a photo when the caller does not know: a scan's page is an exact rectangle
// inside the dark border of the scanner, or fills the picture under light as even as paper
// gets; anything else was photographed.
#pragma once

#include <opencv2/core.hpp>

#include "correction/Correction.h"
#include "correction/SheetFinder.h"

namespace folvane::correction {

SourceKind guessSource(const UprightImage &upright, const SheetFound &sheet);

} // namespace folvane::correction
