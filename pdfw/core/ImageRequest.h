// What one page's preparation is asked for: the file and page, and what the document it goes
// into decides (its PDF version, its memory procedures, whether its text is recognised).
#pragma once

#include <optional>
#include <string>

#include "pdfw/core/Memory.h"

namespace folvane::pdfw {

// Document correction of a page: off, with the sheet found by detection, or with its corners
// placed by hand.
struct CorrectionRequest {
    bool on = false;
    bool handCorners = false;
    // x, y of the top-left, top-right, bottom-right and bottom-left corners, in pixels of the
    // upright picture.
    double corners[8] = {};
    // Straighten a page whose text lines bend (a book's page, a curled sheet).
    bool straightenCurves = true;
    // Split an open book's spread into its two pages, in reading order (right first when
    // `rightToLeft`).
    bool splitSpreads = false;
    bool rightToLeft = false;
};

// The part of the page that is kept: a rectangle of the picture as it is shown upright, right
// and bottom just past it.
struct CropRequest {
    long long left = 0;
    long long top = 0;
    long long right = 0;
    long long bottom = 0;
};

struct ImageRequest {
    std::string path;
    int page = 1;     // 1-based page of a multi-page file
    int pdfMinor = 4; // the document's PDF version is 1.pdfMinor
    MemoryProcs memory;
    std::string ocrLanguages; // recognise the text in these languages too; "": no
    std::string spillFolder;  // where a page too large to hold spills ("": the temporary folder)
    CorrectionRequest correction;
    // Quarter turns clockwise (0..3) after the picture's own orientation; a corrected page is
    // turned after its correction.
    int quarterTurns = 0;
    std::optional<CropRequest> crop; // none: the whole picture
};

} // namespace folvane::pdfw
