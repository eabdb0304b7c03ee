// From an upright picture to the corrected page: where the page lies (found, given by hand,
// or the scan's deskewed page), its shape, the flattening warp, the cleaning and the split
// into ink and background.
#pragma once

#include <opencv2/core.hpp>

#include "correction/Correction.h"
#include "correction/UprightImage.h"

namespace folvane::correction {

// `upright` is the checked `picture`'s pixels.
CorrectedPage makePage(const UprightImage &upright, const Picture &picture);

} // namespace folvane::correction
