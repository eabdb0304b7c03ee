// The blank-page rule on a page of an image file, as it would go into the PDF: decoded small
// (never at full size) and, where document correction is on, corrected first.
//
// Safe to call from several threads at once. Nothing throws.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "blank/BlankRule.h"

namespace folvane::blank {

struct PageToJudge {
    std::string path;
    int page = 1;           // of a TIFF of several, 1-based
    bool corrected = false; // judge the page document correction makes of the picture
    // Corners placed by hand for the correction: x, y of the top-left, top-right, bottom-right
    // and bottom-left corners in pixels of the upright picture at full size.
    std::optional<std::array<double, 8>> corners;
};

// The rule's verdict on the page, decoded in grey with its longer side at most kWorkingSide,
// a larger picture at the smallest eighth of its size that keeps 1000 pixels on that side (and
// corrected at that size: enough to tell marks from paper, and a small share of what correcting
// the page in full takes); nullopt when the file cannot be decoded (the page then goes
// in, or fails, as the run finds it: it is never left out).
std::optional<BlankVerdict> judgePageFile(const PageToJudge &request);

} // namespace folvane::blank
