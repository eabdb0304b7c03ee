// The paper's outline on a four-corner page. The corners are where the sheet's straight edges
// meet; where the page bends away from the camera (into a book's gutter) its top and bottom edges
// come in from the page's, and the desk shows above and below it. How far apart the edges lie in
// each column is the scale at which that column shows the page, where no text line reaches.
#pragma once

#include <vector>

#include <opencv2/core.hpp>

namespace folvane::correction {

struct PageOutline {
    // For each column of samples: the height between the paper's top and bottom edges over the
    // page's height, where the desk shows both above and below the paper; 0 where it does not
    // (the paper reaches the page's edges).
    std::vector<double> scale;
    // The paper's light (0..255): the median over the columns of their paper.
    double paperLight = 0;
};

// The outline of `grey` (CV_8UC1) in columns of samples every `step` pixels from column 0.
PageOutline outlineOf(const cv::Mat &grey, int step, int samples);

} // namespace folvane::correction
