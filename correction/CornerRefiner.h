// Refines the sheet's corners at full resolution: each side's edge is found across the side at
// many points, a line fitted through them robustly, and the corners put where the lines cross.
#pragma once

#include <opencv2/core.hpp>

#include "correction/Geometry.h"
#include "correction/SearchImage.h"
#include "correction/UprightImage.h"

namespace folvane::correction {

// `reduced`: the sheet in the search image's pixels. Returns full-resolution corners; a side
// whose edge cannot be followed keeps its place from the search image.
Quad refineCorners(const UprightImage &upright, const SearchImage &image, const Quad &reduced);

} // namespace folvane::correction
