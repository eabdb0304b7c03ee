// Pages of many full-width text lines, drawn flat and then bent as a book's page bends into its
// gutter: every column of the page moved down by a sag that is deepest at the gutter side and
// falls off smoothly across the page (a generalised cylinder seen from above), and, to measure
// the result, how straight the text lines of a page run.
#pragma once

#include <vector>

#include "correction/Correction.h"
#include "tests/support/Picture.h"

namespace correction_test {

struct Bend {
    // The largest sag of a text line from its chord (at the page's foot, where it bends most),
    // as a share of the page's height; 0 leaves the page flat.
    double sag = 0;
    bool gutterLeft = true; // the page bends down towards its left edge (else its right)
    // Only the outer share of the width bends (a sheet curling at one edge); 1: all of it.
    double bentShare = 1;
};

// A4 at 150 dpi, grey: white paper, about 30 lines of black text (of about 15 points; `textSize`
// scales the letters and the line pitch), bent as `bend` says.
support::Picture curvedPage(const Bend &bend, unsigned seed = 1, double textSize = 1);

// The page as a hand-cornered photo (the corners on the picture's own corners), so that the
// four-corner correction keeps the page as it is and only the curve model can straighten it.
folvane::correction::Picture handCornered(const support::Picture &page);

// How far the text lines of a grey page wander up and down across it: the page cut into narrow
// columns, each column's rows of ink split into text lines; for each text line the spread (max -
// min) of its ink's middle row over the columns, in pixels. The largest such spread; -1 when the
// columns do not show the same number of lines.
double largestLineSpread(const std::vector<uint8_t> &grey, int width, int height);

} // namespace correction_test
