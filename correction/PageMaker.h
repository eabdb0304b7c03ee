// From an upright picture to the corrected page: where the page lies (found, given by hand,
// or the scan's deskewed page), its shape, the flattening warp, the cleaning and the split
// into ink and background.
#pragma once

#include <opencv2/core.hpp>

#include "correction/Correction.h"

namespace correction {

// `picture` has been checked; `uprightRgb` is its pixels upright.
CorrectedPage makePage(const cv::Mat &uprightRgb, const Picture &picture);

} // namespace correction
