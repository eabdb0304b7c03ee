// Where a page bends down into a book's gutter, its top and bottom edges dip in from the
// four-corner page's, and the desk shows in the notch: dark wedges in the page's corners by the
// gutter, or at the top and bottom of an open book's fold, unless they are painted as paper.
#pragma once

#include <opencv2/core.hpp>

namespace folvane::correction {

// Desk: darker than this share of the paper's light. A gutter's shade stays lighter (half the
// paper's light at the darkest in the books photographed), a desk seen beside paper darker.
constexpr double kDeskShare = 0.35;
// The deepest a notch reaches in from the top or the bottom edge, as a share of the height.
constexpr double kDipDepth = 0.08;

// Paints the desk reaching in from the top and bottom edges of `page` (CV_8UC1 or CV_8UC3)
// between its columns [from, to), within kDipDepth of its height, as the paper beside it in each
// column; `paperLight` (0..255), the page's paper, tells desk from paper, and fills a column
// with no paper in the band. Dark parts that do not reach the edge, text near it, stay.
void paperOverDips(cv::Mat &page, int from, int to, double paperLight);

} // namespace folvane::correction
