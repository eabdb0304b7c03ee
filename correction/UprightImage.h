// The caller's picture checked against its stated size and the ceilings, and turned upright.
#pragma once

#include <string>

#include <opencv2/core.hpp>

#include "correction/Correction.h"

namespace correction {

// Empty when the picture can be used; else why not.
std::string checkPicture(const Picture &picture);

// The checked picture upright as 8-bit RGB. Shares the caller's pixels when they are RGB and
// already upright (read only, for the call's duration); a copy otherwise.
cv::Mat uprightRgb(const Picture &picture);

} // namespace correction
