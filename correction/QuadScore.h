// How well a quadrilateral fits the evidence of a sheet: edges along its four sides, paper
// just inside them and something else just outside, paper-coloured inside, the brightest
// thing in the photo, and the paper-coloured region.
#pragma once

#include <array>

#include "correction/Geometry.h"
#include "correction/PaperRegion.h"
#include "correction/SearchImage.h"

namespace folvane::correction {

struct SideEvidence {
    double edge = 0;   // share of the side along which an edge runs with it
    double region = 0; // share along which it parts even paper from something else
    cv::Vec3d inside{0, 0, 0}, outside{0, 0, 0}; // mean Lab colour just inside and outside
};

struct QuadEvidence {
    std::array<SideEvidence, 4> sides;
    double paper = 0;  // share of the inside that has the paper's colour
    double bright = 0; // 1 when the paper is among the brightest things in the photo
    double score = 0;  // 0..1
};

// The quad (reduced pixels, ordered) against the edges and colours of the search image.
QuadEvidence scoreQuad(const SearchImage &image, const Quad &quad);

// The share of the quad and the region that overlap (intersection over union).
double regionFit(const Quad &quad, const cv::Mat &regionMask);

} // namespace folvane::correction
