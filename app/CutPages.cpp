#include "app/CutPages.h"

#include <algorithm>
#include <cmath>

#include "app/WindowTexts.h"

void CutPages::add(double outside, int count) {
    if (outside <= 0 || count <= 0) {
        return;
    }
    pages += count;
    most = std::max(most, outside);
}

std::string CutPages::text() const {
    return folvane::app::texts::windowCount(folvane::app::texts::kPagesCut, pages,
                                            {std::to_string(outsidePercent(most))});
}

int outsidePercent(double outside) {
    return std::max(1, static_cast<int>(std::lround(std::min(outside, 1.0) * 100)));
}
