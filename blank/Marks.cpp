#include "blank/Marks.h"

#include <algorithm>

namespace folvane::blank {

namespace {

struct Grid {
    std::vector<uint8_t> &strengths; // visited pixels are set back to kPaper
    int width;
    int height;
    int bandX;
    int bandY;

    bool inBand(int x, int y) const {
        return x < bandX || y < bandY || x >= width - bandX || y >= height - bandY;
    }
};

// Takes the group holding pixel `start` off the grid, with an explicit stack: a page-sized
// group costs one entry a pixel at most, never the call stack.
Mark takeGroup(Grid &grid, std::size_t start, std::vector<std::size_t> &stack) {
    Mark mark;
    mark.left = mark.right = static_cast<int>(start % grid.width);
    mark.top = mark.bottom = static_cast<int>(start / grid.width);
    grid.strengths[start] = kPaper;
    stack.assign(1, start);
    while (!stack.empty()) {
        const std::size_t at = stack.back();
        stack.pop_back();
        const int x = static_cast<int>(at % grid.width);
        const int y = static_cast<int>(at / grid.width);
        ++mark.area;
        mark.left = std::min(mark.left, x);
        mark.right = std::max(mark.right, x);
        mark.top = std::min(mark.top, y);
        mark.bottom = std::max(mark.bottom, y);
        mark.onBorder = mark.onBorder || grid.inBand(x, y);
        for (int ny = std::max(0, y - 1); ny <= std::min(grid.height - 1, y + 1); ++ny) {
            for (int nx = std::max(0, x - 1); nx <= std::min(grid.width - 1, x + 1); ++nx) {
                const std::size_t next = static_cast<std::size_t>(ny) * grid.width + nx;
                if (grid.strengths[next] != kPaper) {
                    grid.strengths[next] = kPaper;
                    stack.push_back(next);
                }
            }
        }
    }
    return mark;
}

} // namespace

std::vector<Mark> findMarks(const std::vector<uint8_t> &strengths, int width, int height, int bandX,
                            int bandY) {
    std::vector<Mark> marks;
    if (width <= 0 || height <= 0 ||
        strengths.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return marks;
    }
    std::vector<uint8_t> left = strengths;
    Grid grid{left, width, height, bandX, bandY};
    std::vector<std::size_t> stack;
    for (std::size_t at = 0; at < left.size(); ++at) {
        if (left[at] == kStrong) {
            marks.push_back(takeGroup(grid, at, stack));
        }
    }
    return marks;
}

} // namespace folvane::blank
