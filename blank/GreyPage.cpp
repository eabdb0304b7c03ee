#include "blank/GreyPage.h"

#include <algorithm>

namespace folvane::blank {

GreyPage reducedTo(const GreyPage &page, int maxSide) {
    const int longer = std::max(page.width, page.height);
    if (!page.valid() || maxSide <= 0 || longer <= maxSide) {
        return page;
    }
    const int factor = (longer + maxSide - 1) / maxSide;
    GreyPage small;
    small.width = std::max(1, page.width / factor);
    small.height = std::max(1, page.height / factor);
    small.pixels.resize(static_cast<std::size_t>(small.width) * small.height);
    std::vector<unsigned> sums(small.width);
    for (int y = 0; y < small.height; ++y) {
        std::fill(sums.begin(), sums.end(), 0u);
        const int rows = std::min(factor, page.height - y * factor);
        for (int dy = 0; dy < rows; ++dy) {
            const uint8_t *line =
                page.pixels.data() + static_cast<std::size_t>(y * factor + dy) * page.width;
            for (int x = 0; x < small.width * factor && x < page.width; ++x) {
                sums[x / factor] += line[x];
            }
        }
        for (int x = 0; x < small.width; ++x) {
            const int columns = std::min(factor, page.width - x * factor);
            const unsigned count = static_cast<unsigned>(rows * columns);
            small.pixels[static_cast<std::size_t>(y) * small.width + x] =
                static_cast<uint8_t>((sums[x] + count / 2) / count);
        }
    }
    return small;
}

} // namespace folvane::blank
