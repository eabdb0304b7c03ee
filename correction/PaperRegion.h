// The paper-coloured region around the middle of a photo: pixels of the sheet's colour (bright,
// of the sheet's hue, shadows allowed), joined over the text. Its outline gives a quadrilateral
// hypothesis where the sheet's edges are weak.
#pragma once

#include <optional>

#include "correction/Geometry.h"
#include "correction/SearchImage.h"

namespace folvane::correction {

struct PaperRegion {
    cv::Mat mask;                // CV_8UC1, 255 on the region; empty when none was found
    std::optional<Quad> quad;    // its outline as four corners (reduced pixels), when it has one
    cv::Vec3d paperLab{0, 0, 0}; // the paper's colour
    // Paper-coloured shapes of a sheet's size and shape lying apart, inside the picture: two or
    // more are sheets side by side, of which no one is the page.
    int sheets = 0;
};

PaperRegion findPaperRegion(const SearchImage &image);

} // namespace folvane::correction
