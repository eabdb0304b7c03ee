#include "blank/BlankRule.h"

#include <algorithm>
#include <cmath>

#include "blank/Marks.h"
#include "blank/PaperLevel.h"

namespace folvane::blank {

namespace {

// The side of the blocks the paper level is found in, at the working side: a few text lines
// high, so that a block is rarely all ink.
constexpr int kBlockSide = 32;
// Paper darker than this share of the brightest is not paper: the floor of the level.
constexpr double kPaperShare = 0.80;

// How dark each pixel stands against the paper under it.
std::vector<uint8_t> strengthsOf(const GreyPage &page, const PaperLevel &paper) {
    std::vector<uint8_t> strengths(page.pixels.size(), kPaper);
    std::vector<double> levels;
    const double floor = kPaperShare * paper.brightest();
    for (int y = 0; y < page.height; ++y) {
        paper.rowLevels(y, floor, levels);
        const std::size_t row = static_cast<std::size_t>(y) * page.width;
        for (int x = 0; x < page.width; ++x) {
            const double contrast = (levels[x] - page.pixels[row + x]) / levels[x];
            if (contrast >= kSeedContrast) {
                strengths[row + x] = kStrong;
            } else if (contrast >= kGrowContrast) {
                strengths[row + x] = kFaint;
            }
        }
    }
    return strengths;
}

// A long thin line along the page, as dust on a feeder's glass draws: at least kStreakShare of
// the page's side in its direction, and thin for its length.
bool isStreak(const Mark &mark, const GreyPage &page, double scale) {
    const bool tall = mark.height() >= kStreakShare * page.height;
    const bool wide = mark.width() >= kStreakShare * page.width;
    if (!tall && !wide) {
        return false;
    }
    const double length = std::max(mark.width(), mark.height());
    return static_cast<double>(mark.area) / length <= std::max(1.5, kStreakWidth * scale);
}

bool counts(const Mark &mark, const GreyPage &page, double scale) {
    const double length = std::max(mark.width(), mark.height());
    return !mark.onBorder && length >= kMinMarkLength * scale &&
           static_cast<double>(mark.area) >= kMinMarkArea * scale * scale &&
           !isStreak(mark, page, scale);
}

} // namespace

BlankVerdict judgeGreyPage(const GreyPage &original) {
    BlankVerdict verdict;
    if (!original.valid()) {
        return verdict;
    }
    const GreyPage page = reducedTo(original, kWorkingSide);
    // Sizes are for a page of the working side; a smaller page has them smaller.
    const double scale =
        std::min(1.0, static_cast<double>(std::max(page.width, page.height)) / kWorkingSide);
    const PaperLevel paper(page, std::max(4, static_cast<int>(std::lround(kBlockSide * scale))));
    if (paper.brightest() < kDarkestPaper) {
        verdict.tooDark = true;
        return verdict;
    }
    const int bandX = std::max(1, static_cast<int>(std::lround(kBorderShare * page.width)));
    const int bandY = std::max(1, static_cast<int>(std::lround(kBorderShare * page.height)));
    for (const Mark &mark :
         findMarks(strengthsOf(page, paper), page.width, page.height, bandX, bandY)) {
        verdict.marks += counts(mark, page, scale) ? 1 : 0;
    }
    verdict.blank = verdict.marks == 0;
    return verdict;
}

} // namespace folvane::blank
