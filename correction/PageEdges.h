// Clears what a flattened page keeps of the world around the sheet: the sheet's own edge, its
// shadow and slivers of desk that the corners, placed a little outside the paper, leave along
// the border. In a viewer they show as a grey or black frame round the page.
#pragma once

#include "correction/PageCleaner.h"

namespace folvane::correction {

// The outer band of at most kEdgeBandMm that is not paper, counted inward from each edge, turned
// to white in `page` (colour and grey alike); it stops where a run of paper at least
// kPaperRunMm wide begins, so that text near the edge, with paper between it and the edge,
// keeps every stroke. Only a dark area reaching the edge itself (a picture printed to the
// edge, text cut off by the photo) loses its outer band.
constexpr double kEdgeBandMm = 5;
constexpr double kPaperRunMm = 0.5;
// A cleaned pixel at least this light is paper.
constexpr int kEdgePaperLevel = 232;

void clearEdges(CleanPage &page, double dpi);

} // namespace folvane::correction
