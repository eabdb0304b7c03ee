// The paper's own level across a grey page, estimated in square blocks: what the page would
// show at each pixel with nothing on it.
#pragma once

#include <vector>

#include "blank/GreyPage.h"

namespace folvane::blank {

class PaperLevel {
public:
    // Levels of `page` in blocks of `blockSide` pixels (the last row and column of blocks may be
    // smaller). Each block's level is a bright percentile of its pixels, so that ink covering
    // part of it does not darken it, then the median of it and its neighbours, so that a large
    // dark mark does not pass for paper either.
    PaperLevel(const GreyPage &page, int blockSide);

    // The brightest paper of the page: a high percentile of the blocks' levels.
    double brightest() const { return brightest_; }
    // The level at every pixel of row y, interpolated between the blocks' centres, never below
    // `floor`.
    void rowLevels(int y, double floor, std::vector<double> &levels) const;

private:
    double blockLevel(int column, int row) const;

    int width_ = 0;
    int side_ = 1;
    int columns_ = 0;
    int rows_ = 0;
    std::vector<double> levels_; // by block, row by row
    double brightest_ = 0;
};

} // namespace folvane::blank
