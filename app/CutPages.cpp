#include "app/CutPages.h"

#include <algorithm>
#include <cmath>

#include "app/WindowTexts.h"

void CutPages::Add(double outside, int count) {
    if (outside <= 0 || count <= 0) {
        return;
    }
    pages += count;
    most = std::max(most, outside);
}

std::string CutPages::Text() const {
    return texts::WindowCount(texts::kPagesCut, pages, {std::to_string(OutsidePercent(most))});
}

int OutsidePercent(double outside) {
    return std::max(1, static_cast<int>(std::lround(std::min(outside, 1.0) * 100)));
}
