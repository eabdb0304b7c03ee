#include "correction/PageOutline.h"

#include <algorithm>
#include <vector>

#include "correction/DeskDips.h"

namespace folvane::correction {

namespace {

// The rows from the end `from` (0 the top, else the bottom) of `profile` darker than `below`.
int deskRows(const std::vector<float> &profile, float below, bool fromTop) {
    const int rows = static_cast<int>(profile.size());
    int count = 0;
    while (count < rows && profile[fromTop ? count : rows - 1 - count] < below) {
        ++count;
    }
    return count;
}

} // namespace

PageOutline outlineOf(const cv::Mat &grey, int step, int samples) {
    PageOutline outline;
    outline.scale.assign(samples, 0);
    std::vector<float> papers;
    const int rows = grey.rows;
    std::vector<float> profile(rows), middle;
    for (int c = 0; c < samples; ++c) {
        const int from = std::max(0, c * step - step / 2);
        const int to = std::min(grey.cols, c * step + step / 2 + 1);
        if (from >= to || rows < 8) {
            continue;
        }
        for (int y = 0; y < rows; ++y) {
            const uint8_t *row = grey.ptr<uint8_t>(y);
            int sum = 0;
            for (int x = from; x < to; ++x) {
                sum += row[x];
            }
            profile[y] = static_cast<float>(sum) / (to - from);
        }
        // The paper's light: the median of the column's middle half, mostly paper between lines.
        middle.assign(profile.begin() + rows / 4, profile.begin() + rows * 3 / 4);
        std::nth_element(middle.begin(), middle.begin() + middle.size() / 2, middle.end());
        const float paper = middle[middle.size() / 2];
        papers.push_back(paper);
        const float desk = static_cast<float>(paper * kDeskShare);
        const int top = deskRows(profile, desk, true), bottom = deskRows(profile, desk, false);
        if (top > 0 && bottom > 0 && top + bottom < rows / 2) {
            outline.scale[c] = static_cast<double>(rows - top - bottom) / rows;
        }
    }
    if (!papers.empty()) {
        std::nth_element(papers.begin(), papers.begin() + papers.size() / 2, papers.end());
        outline.paperLight = papers[papers.size() / 2];
    }
    return outline;
}

} // namespace folvane::correction
