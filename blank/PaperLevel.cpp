#include "blank/PaperLevel.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace folvane::blank {

namespace {

// The share of a block's pixels darker than its level: ink may cover up to this much of a block
// without darkening the paper found under it.
constexpr double kBlockPercentile = 0.90;
// The share of the blocks darker than the page's brightest paper.
constexpr double kPagePercentile = 0.95;

double percentileOf(const std::array<int, 256> &histogram, int count, double share) {
    const int wanted = static_cast<int>(std::lround(share * (count - 1)));
    int seen = 0;
    for (int level = 0; level < 256; ++level) {
        seen += histogram[level];
        if (seen > wanted) {
            return level;
        }
    }
    return 255;
}

// Each block's bright percentile, from one histogram a block.
std::vector<double> rawLevels(const GreyPage &page, int side, int columns, int rows) {
    std::vector<double> levels(static_cast<std::size_t>(columns) * rows);
    std::vector<std::array<int, 256>> histograms(columns);
    for (int row = 0; row < rows; ++row) {
        for (auto &histogram : histograms) {
            histogram.fill(0);
        }
        const int top = row * side;
        const int bottom = std::min(page.height, top + side);
        for (int y = top; y < bottom; ++y) {
            const uint8_t *line = page.pixels.data() + static_cast<std::size_t>(y) * page.width;
            for (int x = 0; x < page.width; ++x) {
                ++histograms[x / side][line[x]];
            }
        }
        for (int column = 0; column < columns; ++column) {
            const int width = std::min(page.width, (column + 1) * side) - column * side;
            levels[static_cast<std::size_t>(row) * columns + column] =
                percentileOf(histograms[column], width * (bottom - top), kBlockPercentile);
        }
    }
    return levels;
}

} // namespace

PaperLevel::PaperLevel(const GreyPage &page, int blockSide)
    : width_(page.width), side_(std::max(1, blockSide)), columns_((page.width + side_ - 1) / side_),
      rows_((page.height + side_ - 1) / side_) {
    const std::vector<double> raw = rawLevels(page, side_, columns_, rows_);
    levels_.resize(raw.size());
    std::vector<double> near;
    for (int row = 0; row < rows_; ++row) {
        for (int column = 0; column < columns_; ++column) {
            near.clear();
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int r = row + dy;
                    const int c = column + dx;
                    if (r >= 0 && r < rows_ && c >= 0 && c < columns_) {
                        near.push_back(raw[static_cast<std::size_t>(r) * columns_ + c]);
                    }
                }
            }
            std::nth_element(near.begin(), near.begin() + near.size() / 2, near.end());
            levels_[static_cast<std::size_t>(row) * columns_ + column] = near[near.size() / 2];
        }
    }
    std::vector<double> sorted = levels_;
    const auto at = static_cast<std::size_t>(std::lround(kPagePercentile * (sorted.size() - 1)));
    std::nth_element(sorted.begin(), sorted.begin() + at, sorted.end());
    brightest_ = sorted[at];
}

double PaperLevel::blockLevel(int column, int row) const {
    column = std::clamp(column, 0, columns_ - 1);
    row = std::clamp(row, 0, rows_ - 1);
    return levels_[static_cast<std::size_t>(row) * columns_ + column];
}

void PaperLevel::rowLevels(int y, double floor, std::vector<double> &levels) const {
    levels.resize(width_);
    // Block centres sit at (i + 0.5) * side; a pixel between two centres mixes their levels:
    // first down the two rows of blocks around row y, then across.
    const double by = (y + 0.5) / side_ - 0.5;
    const int row = static_cast<int>(std::floor(by));
    const double fy = by - row;
    std::vector<double> across(columns_ + 1);
    for (int column = 0; column <= columns_; ++column) {
        across[column] = blockLevel(column, row) * (1 - fy) + blockLevel(column, row + 1) * fy;
    }
    for (int x = 0; x < width_; ++x) {
        const double bx = (x + 0.5) / side_ - 0.5;
        const int column = static_cast<int>(std::floor(bx));
        const double fx = bx - column;
        const double left = across[std::max(0, column)];
        const double right = across[std::min(columns_, column + 1)];
        levels[x] = std::max(floor, left * (1 - fx) + right * fx);
    }
}

} // namespace folvane::blank
