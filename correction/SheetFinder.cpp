#include "correction/SheetFinder.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "correction/CornerRefiner.h"
#include "correction/Limits.h"
#include "correction/LineHypotheses.h"
#include "correction/LineSupport.h"
#include "correction/PaperRegion.h"
#include "correction/QuadScore.h"
#include "correction/SearchImage.h"

namespace folvane::correction {

namespace {

constexpr int kLines = 80;
constexpr size_t kFullyScored = 300;
// Below this, too little of the sides runs along edges for a sheet's outline.
constexpr double kLeastEdgeScore = 0.35;
constexpr double kMinShare = 0.12; // the smallest sheet sought: an eighth of the photo

struct LinePair {
    int a, b; // indices into the line list
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
            pairs.push_back({static_cast<int>(i), static_cast<int>(j)});
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

// How much of each of the four sides runs along edges: the mean, held down by the weakest.
double edgeScore(const std::array<double, 4> &sides) {
    double sum = 0, weakest = 1;
    for (double s : sides) {
        sum += s;
        weakest = std::min(weakest, s);
    }
    return sum / 4 * (0.5 + 0.5 * weakest);
}

void addQuadsOfPairs(const std::vector<Line> &lines, const std::vector<LinePair> &pairs,
                     const SearchImage &image, std::vector<Candidate> &out) {
    std::vector<LineSupport> support;
    for (const Line &line : lines) {
        support.emplace_back(image, line);
    }
    cv::Size size = image.rgb.size();
    for (size_t i = 0; i < pairs.size(); ++i) {
        const Line &a1 = lines[pairs[i].a], &a2 = lines[pairs[i].b];
        for (size_t j = i + 1; j < pairs.size(); ++j) {
            const Line &b1 = lines[pairs[j].a], &b2 = lines[pairs[j].b];
            if (angleBetween(a1, b1) < 50 * CV_PI / 180) {
                continue;
            }
            auto p0 = intersect(a1, b1), p1 = intersect(a1, b2);
            auto p2 = intersect(a2, b2), p3 = intersect(a2, b1);
            if (!p0 || !p1 || !p2 || !p3) {
                continue;
            }
            double score = edgeScore(
                {support[pairs[i].a].between(*p0, *p1), support[pairs[j].b].between(*p1, *p2),
                 support[pairs[i].b].between(*p2, *p3), support[pairs[j].a].between(*p3, *p0)});
            if (score < kLeastEdgeScore) {
                continue;
            }
            Quad q = ordered({*p0, *p1, *p2, *p3});
            if (plausible(q, size)) {
                out.push_back({q, score});
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
        double fit = region.mask.empty() ? 0.75 : regionFit(c.quad, region.mask);
        double share = quadArea(c.quad) / area;
        double score = c.score * (0.6 + 0.4 * fit) * (0.7 + 0.3 * share);
        if (score > best.score) {
            best = {c.quad, score};
        }
    }
    return best;
}

} // namespace

SheetFound findSheetIn(const UprightImage &upright) {
    SheetFound result;
    result.corners = wholePicture(upright.size());
    SearchImage image = makeSearchImage(upright);
    if (std::min(image.rgb.cols, image.rgb.rows) < kMinSearchSide) {
        return result;
    }
    std::vector<Line> lines = lineHypotheses(image, kLines);
    PaperRegion region = findPaperRegion(image);
    if (region.sheets >= 2) {
        result.twoSheets = true;
        return result;
    }
    std::vector<Candidate> candidates;
    if (region.quad && plausible(*region.quad, image.rgb.size())) {
        candidates.push_back({*region.quad, 1.0});
        for (int i = 0; i < 4; ++i) {
            Line side = lineThrough((*region.quad)[i], (*region.quad)[(i + 1) % 4]);
            side.weight = cv::norm((*region.quad)[i] - (*region.quad)[(i + 1) % 4]);
            lines.push_back(side);
        }
    }
    addQuadsOfPairs(lines, parallelPairs(lines, image.rgb.size()), image, candidates);
    scoreFully(candidates, image);
    Candidate best = bestCandidate(std::move(candidates), image, region);
    result.confidence = std::clamp(best.score, 0.0, 1.0);
    if (result.confidence < kFoundConfidence) {
        return result;
    }
    result.found = true;
    result.corners = refineCorners(upright, image, best.quad);
    return result;
}

} // namespace folvane::correction
