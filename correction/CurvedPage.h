// Pages that are not flat: a bound book's page bending into the gutter, a sheet curling at one
// edge. The four-corner warp leaves their text lines curved; the text lines themselves tell how
// the surface bends, and the page is remapped so that they run straight.
#pragma once

#include <vector>

#include <opencv2/core.hpp>

namespace folvane::correction {

// A page is flattened when most of its text lines, at some place across the page, sag by more
// than this share of the page's height from the straight line through their ends (about 10
// pixels of an A4 page at 300 dpi, a quarter of a line of 12-point text). Flat pages,
// photographed with a slight wave, sag less than a third of it.
constexpr double kCurveThreshold = 0.003;

// The text-line model is made on a grey copy of the page at this resolution (or the page's own,
// when lower). Lines of 8-point text still stand apart at it, and the model's cost, most of it
// in finding the lines, falls with the square of it: a flat page pays for the look alone.
constexpr double kCurveModelDpi = 100;

// Where the camera stood over the page, in pixels of the four-corner page: the point of the
// page's plane straight below it, and its height above that plane. A scan has none (`height` 0):
// a scanner's light moves along the page instead of looking from one point.
struct PageCamera {
    cv::Point2d foot;
    double height = 0;
};

struct PageCurve {
    // The sag most text lines have at the place across the page where it is largest, as a share
    // of the page's height; 0 when the page has too few text lines to tell.
    double sag = 0;
    // CV_32F: the vertical disparity in page pixels, one sample every `step` page pixels from
    // (0, 0). Empty when there is no model.
    cv::Mat disparity;
    double step = 0;
    // The scale at which each column of samples shows the page, against the page's middle
    // column: below 1 where the page bends away from the camera, above where it rises towards
    // it. Seen from a camera, a part of the page farther away is drawn smaller about the point
    // below the camera, so its text lines lie closer together there.
    std::vector<double> scale;
    // How far in from the page's left and right edges its outline dips in from the top and the
    // bottom, the desk showing there (page pixels, 0 for no dip), and the paper's light (0..255).
    int dipLeft = 0;
    int dipRight = 0;
    double paperLight = 0;

    bool curved() const { return !disparity.empty() && sag > kCurveThreshold; }
};

// The bend of `page` (CV_8UC1 or CV_8UC3, as the four-corner warp made it, at `dpi`), from a
// reduced bilevel copy: cheap next to the rest of the correction.
PageCurve pageCurveOf(const cv::Mat &page, double dpi);

// `page` remapped so that its text lines run straight: every column moved up or down by the
// model's disparity there, and, seen by `camera`, the columns spaced along the page's surface
// rather than along its foreshortened chord, so that text bent away from the camera is as wide
// as the rest. The page gets the surface's width in pixels; the same height and type as `page`.
cv::Mat straightened(const cv::Mat &page, const PageCurve &curve, const PageCamera &camera);

} // namespace folvane::correction
