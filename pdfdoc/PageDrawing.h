// One page of an existing PDF drawn to an RGB raster, for the window's preview and crop editor.
// Drawn with Poppler; no Poppler type crosses this interface. Safe to call from several threads
// at once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pdfdoc/PdfFacts.h"

namespace folvane::pdfdoc {

// The most pixels a drawing may have, whatever size is asked for: 40 million pixels are 120 MB
// of RGB, more than any screen shows.
inline constexpr long long kMaxDrawnPixels = 40'000'000;

struct PageRaster {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb; // rows top down, 3 bytes a pixel, no padding
};

struct PageDrawRequest {
    std::string path;
    std::string password; // "" for none
    int page = 1;         // 1-based
    int quarterTurns = 0; // clockwise, after the page's own rotation
    // The box the drawing fits into, keeping the page's proportions; the drawing touches it on
    // at least one side (within a pixel).
    int maxWidth = 0;
    int maxHeight = 0;
};

// Draws the page turned as asked on white paper. On failure `raster` is left empty.
PdfFailure drawPdfPage(const PageDrawRequest &request, PageRaster &raster);

} // namespace folvane::pdfdoc
