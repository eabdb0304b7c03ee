// Straight-line hypotheses for the sheet's sides: a Hough transform in which each edge pixel
// votes only for lines along its own edge direction, so texture votes little.
#pragma once

#include <vector>

#include "correction/Geometry.h"
#include "correction/SearchImage.h"

namespace folvane::correction {

// The strongest distinct lines of the search image, strongest first, at most `count`.
std::vector<Line> lineHypotheses(const SearchImage &image, int count);

} // namespace folvane::correction
