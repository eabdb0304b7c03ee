#include "correction/PageEdges.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace folvane::correction {

namespace {

// One side of the page seen from the edge inward: `position` runs along the edge, `depth`
// inward from it.
struct Side {
    int along; // positions along the edge
    cv::Point (*at)(int position, int depth, cv::Size size);
};

cv::Point topAt(int p, int d, cv::Size) {
    return {p, d};
}
cv::Point bottomAt(int p, int d, cv::Size s) {
    return {p, s.height - 1 - d};
}
cv::Point leftAt(int p, int d, cv::Size) {
    return {d, p};
}
cv::Point rightAt(int p, int d, cv::Size s) {
    return {s.width - 1 - d, p};
}

// How deep the non-paper reaches in from the edge at `position`: the depth where the first run
// of `run` paper pixels begins, or `band` when none begins within it.
int reach(const cv::Mat &grey, const Side &side, int position, int band, int run) {
    int paper = 0;
    for (int d = 0; d < band; ++d) {
        cv::Point p = side.at(position, d, grey.size());
        if (grey.at<uint8_t>(p) < kEdgePaperLevel) {
            paper = 0;
            continue;
        }
        if (++paper == run) {
            return d + 1 - run;
        }
    }
    // Paper up to the band's end, though fewer than `run` pixels of it: still paper.
    return paper > 0 ? band - paper : band;
}

void clearSide(CleanPage &page, const Side &side, int band, int run) {
    std::vector<int> depth(static_cast<std::size_t>(side.along));
    for (int p = 0; p < side.along; ++p) {
        depth[p] = reach(page.grey, side, p, band, run);
    }
    cv::Size size = page.grey.size();
    for (int p = 0; p < side.along; ++p) {
        // A desk's grain can let one position stop short of its neighbours: the band at each
        // position is as deep as at either neighbour.
        int deepest = depth[p];
        if (p > 0) {
            deepest = std::max(deepest, depth[p - 1]);
        }
        if (p + 1 < side.along) {
            deepest = std::max(deepest, depth[p + 1]);
        }
        for (int d = 0; d < deepest; ++d) {
            cv::Point at = side.at(p, d, size);
            page.grey.at<uint8_t>(at) = 255;
            page.colour.at<cv::Vec3b>(at) = cv::Vec3b(255, 255, 255);
        }
    }
}

} // namespace

void clearEdges(CleanPage &page, double dpi) {
    cv::Size size = page.grey.size();
    if (size.empty() || dpi <= 0) {
        return;
    }
    int limit = std::min(size.width, size.height) / 4; // a tiny page keeps its middle
    int band = std::min(limit, static_cast<int>(std::lround(kEdgeBandMm * dpi / 25.4)));
    int run = std::max(2, static_cast<int>(std::lround(kPaperRunMm * dpi / 25.4)));
    if (band <= 0) {
        return;
    }
    const Side sides[] = {
        {size.width, topAt}, {size.width, bottomAt}, {size.height, leftAt}, {size.height, rightAt}};
    for (const Side &side : sides) {
        clearSide(page, side, band, run);
    }
}

} // namespace folvane::correction
