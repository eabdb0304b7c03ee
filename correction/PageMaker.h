// From an upright picture to the corrected page: where the page lies (found, given by hand,
// or the scan's deskewed page), its shape, the flattening warp, the cleaning and the split
// into ink and background.
#pragma once

#include <vector>

#include <opencv2/core.hpp>

#include "correction/Correction.h"
#include "correction/UprightImage.h"

namespace folvane::correction {

// `upright` is the checked `picture`'s pixels. One page, or with `picture.splitSpreads` the two
// pages of an open book's spread, in reading order.
std::vector<CorrectedPage> makePages(const UprightImage &upright, const Picture &picture);

// Whether makePages() would split `picture` as an open book's spread, found without cleaning
// or writing either page.
bool showsSpread(const UprightImage &upright, const Picture &picture);

} // namespace folvane::correction
