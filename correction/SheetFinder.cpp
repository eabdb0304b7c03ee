#include "correction/SheetFinder.h"

#include <algorithm>
#include <cmath>
#include <vector>
#include <cstdio>
#include <cstdlib>

#include "correction/CornerRefiner.h"
#include "correction/Limits.h"
#include "correction/LineHypotheses.h"
#include "correction/PaperRegion.h"
#include "correction/QuadScore.h"
#include "correction/SearchImage.h"

namespace correction {

namespace {

constexpr int kLines = 64;
constexpr size_t kFullyScored = 300;
constexpr double kMinShare = 0.12; // the smallest sheet sought: an eighth of the photo

struct LinePair {
    Line a, b;
    double theta; // their mean direction
};

// Distance between two nearly parallel lines, measured through the foot of `centre` on `a`.
double separation(const Line &a, const Line &b, cv::Point2d centre) {
    cv::Point2d foot = centre - a.normal() * a.distance(centre);
    return std::abs(b.distance(foot));
}

std::vector<LinePair> parallelPairs(const std::vector<Line> &lines, cv::Size size) {
    cv::Point2d centre(size.width / 2.0, size.height / 2.0);
    double minGap = 0.2 * std::min(size.width, size.height);
    std::vector<LinePair> pairs;
    for (size_t i = 0; i < lines.size(); ++i) {
        for (size_t j = i + 1; j < lines.size(); ++j) {
            if (angleBetween(lines[i], lines[j]) > 20 * CV_PI / 180 ||
                separation(lines[i], lines[j], centre) < minGap) {
                continue;
            }
            pairs.push_back({lines[i], lines[j], lines[i].theta});
        }
    }
    return pairs;
}

bool plausible(const Quad &q, cv::Size size) {
    if (!isConvex(q) || quadArea(q) < kMinShare * size.area()) {
        return false;
    }
    double mx = 0.03 * size.width, my = 0.03 * size.height;
    for (const cv::Point2d &p : q) {
        if (p.x < -mx || p.y < -my || p.x > size.width - 1 + mx || p.y > size.height - 1 + my) {
            return false;
        }
    }
    for (double angle : cornerAngles(q)) {
        if (angle < 45 || angle > 135) {
            return false;
        }
    }
    return true;
}

struct Candidate {
    Quad quad;
    double score = 0;
};

void addQuadsOfPairs(const std::vector<LinePair> &pairs, const SearchImage &image,
                     std::vector<Candidate> &out) {
    cv::Size size = image.rgb.size();
    for (size_t i = 0; i < pairs.size(); ++i) {
        for (size_t j = i + 1; j < pairs.size(); ++j) {
            if (angleBetween(pairs[i].a, pairs[j].a) < 50 * CV_PI / 180) {
                continue;
            }
            auto p0 = intersect(pairs[i].a, pairs[j].a), p1 = intersect(pairs[i].a, pairs[j].b);
            auto p2 = intersect(pairs[i].b, pairs[j].b), p3 = intersect(pairs[i].b, pairs[j].a);
            if (!p0 || !p1 || !p2 || !p3) {
                continue;
            }
            Quad q = ordered({*p0, *p1, *p2, *p3});
            if (plausible(q, size)) {
                out.push_back({q, edgeScore(image, q)});
            }
        }
    }
}

// The quads with the most edge along their sides get the full score.
void scoreFully(std::vector<Candidate> &candidates, const SearchImage &image) {
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate &a, const Candidate &b) { return a.score > b.score; });
    candidates.resize(std::min(candidates.size(), kFullyScored));
    for (Candidate &c : candidates) {
        c.score = scoreQuad(image, c.quad).score;
    }
}

// The best candidates get the region's word too, and a little credit for size: a sheet is
// rarely a small part of a photo taken of it.
Candidate bestCandidate(std::vector<Candidate> candidates, const SearchImage &image,
                        const PaperRegion &region) {
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate &a, const Candidate &b) { return a.score > b.score; });
    candidates.resize(std::min<size_t>(candidates.size(), 24));
    double area = image.rgb.size().area();
    Candidate best;
    for (Candidate &c : candidates) {
        double fit = region.mask.empty() ? 0.5 : regionFit(c.quad, region.mask);
        double share = quadArea(c.quad) / area;
        double score = c.score * (0.8 + 0.2 * fit) * (0.85 + 0.15 * std::min(1.0, share / 0.5));
        if (score > best.score) {
            best = {c.quad, score};
        }
        if (getenv("CORRECTION_DEBUG")) {
            QuadEvidence e = scoreQuad(image, c.quad);
            fprintf(stderr, "cand %.3f->%.3f fit %.2f share %.2f paper %.2f bright %.2f |", c.score, score, fit, share, e.paper, e.bright);
            for (auto &s : e.sides) fprintf(stderr, " e%.2f r%.2f", s.edge, s.region);
            fprintf(stderr, " | %.0f,%.0f %.0f,%.0f %.0f,%.0f %.0f,%.0f\n", c.quad[0].x, c.quad[0].y, c.quad[1].x, c.quad[1].y, c.quad[2].x, c.quad[2].y, c.quad[3].x, c.quad[3].y);
        }
    }
    return best;
}

} // namespace

SheetFound findSheetIn(const cv::Mat &uprightRgb) {
    SheetFound result;
    result.corners = wholePicture(uprightRgb.size());
    SearchImage image = makeSearchImage(uprightRgb);
    if (std::min(image.rgb.cols, image.rgb.rows) < kMinSearchSide) {
        return result;
    }
    std::vector<Line> lines = lineHypotheses(image, kLines);
    PaperRegion region = findPaperRegion(image);
    std::vector<Candidate> candidates;
    if (region.quad && plausible(*region.quad, image.rgb.size())) {
        candidates.push_back({*region.quad, 1.0});
        for (int i = 0; i < 4; ++i) {
            Line side = lineThrough((*region.quad)[i], (*region.quad)[(i + 1) % 4]);
            side.weight = cv::norm((*region.quad)[i] - (*region.quad)[(i + 1) % 4]);
            lines.push_back(side);
        }
    }
    addQuadsOfPairs(parallelPairs(lines, image.rgb.size()), image, candidates);
    scoreFully(candidates, image);
    Candidate best = bestCandidate(std::move(candidates), image, region);
    result.confidence = std::clamp(best.score, 0.0, 1.0);
    if (result.confidence < kFoundConfidence) {
        return result;
    }
    result.found = true;
    result.corners = refineCorners(uprightRgb, image, best.quad);
    return result;
}

} // namespace correction
