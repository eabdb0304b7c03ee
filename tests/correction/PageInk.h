// Reading a corrected page's ink, as the tests check it.
#pragma once

#include <cstddef>

#include "correction/Correction.h"

namespace correction_test {

// Whether the pixel (x, y) of the page's 1-bit ink is ink.
inline bool inkAt(const folvane::correction::CorrectedPage &page, int x, int y) {
    return page.ink[static_cast<std::size_t>(y) * page.inkRowBytes + x / 8] & (0x80 >> (x % 8));
}

// The ink in the page's top and bottom corners on one side: `sideShare` of the width, a twentieth
// of the height. Where desk is left in a gutter's dip or an open book's fold, dark wedges.
inline int inkInCorners(const folvane::correction::CorrectedPage &page, bool left,
                        double sideShare) {
    int ink = 0;
    const int band = page.height / 20, side = static_cast<int>(page.width * sideShare);
    for (int y = 0; y < page.height; ++y) {
        for (int i = 0; i < side && (y < band || y >= page.height - band); ++i) {
            ink += inkAt(page, left ? i : page.width - 1 - i, y);
        }
    }
    return ink;
}

} // namespace correction_test
