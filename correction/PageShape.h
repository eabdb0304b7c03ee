// The corrected page's shape and size: the sheet's own aspect ratio recovered from the
// perspective of its corners, snapped to a paper size when close to one, at the resolution the
// picture has for the page and never more than 300 dpi.
#pragma once

#include <opencv2/core.hpp>

#include "correction/Correction.h"
#include "correction/Geometry.h"

namespace folvane::correction {

struct PageShape {
    cv::Size size;
    double dpi = 0;
    PaperSize paper = PaperSize::None;
};

// A phone camera's usual focal length, in pixels of a picture of `pictureSize`: for views whose
// own perspective is too slight to tell it.
double usualFocalLength(cv::Size pictureSize);

// Height over width of the rectangle seen as `quad` in a picture of `pictureSize`, assuming
// the camera looked through the picture's centre.
double sheetAspect(const Quad &quad, cv::Size pictureSize);

// What a paper size close to the page's does: nothing, name it only (a scan's shape is exact),
// or name it and give the page its exact shape (a photo's shape is an estimate).
enum class Snap { None, NameOnly, Reshape };

// The page for a sheet of this aspect that spans `pixelsWide` x `pixelsHigh` in the picture.
// `statedDpi` (0: unknown) is the picture's own resolution, which tells the paper's real size.
PageShape pageShape(double aspect, double pixelsWide, double pixelsHigh, double statedDpi,
                    Snap snap);

// A page of `size` pixels at a resolution already settled (`dpi`): given the shape of `paper`,
// its long side kept, when its own shape is within the snapping tolerance of that paper's; else
// as it is, no paper named.
PageShape shapeAtResolution(cv::Size size, double dpi, PaperSize paper);

// Width and height the quad spans in the picture: the mean lengths of its opposite sides.
cv::Size2d quadSpan(const Quad &quad);

} // namespace folvane::correction
