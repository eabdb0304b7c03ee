// What a cleaned page holds, and its ink: black text on paper only (bilevel) or colour and grey
// tones a bilevel image would lose; the ink is the dark, colourless part.
#pragma once

#include <cstdint>
#include <vector>

#include <opencv2/core.hpp>

#include "correction/Correction.h"
#include "correction/PageCleaner.h"

namespace folvane::correction {

ContentKind contentOf(const CleanPage &page);

// Whether the page's text is too soft for a bilevel cut: few of its pixels reach a solid dark,
// as when small text is photographed out of focus and each stroke is a grey smudge.
bool textTooSoft(const CleanPage &page);

// CV_8UC1, 255 where the page has ink. On a colour page, coloured marks are not ink: they
// stay in the background with their colour.
cv::Mat inkMask(const CleanPage &page, ContentKind content);

// The mask packed 1 bit a pixel, most significant bit first, rows padded to whole bytes.
std::vector<uint8_t> packBits(const cv::Mat &mask, std::size_t &rowBytes);

} // namespace folvane::correction
