// The words poppler's `pdftotext -bbox-layout` finds in a PDF, with their boxes.
#pragma once

#include <string>
#include <vector>

namespace pdfw_test {

struct BboxWord {
    std::string text;
    double xMin, yMin, xMax, yMax; // points, from the page's top left corner
};

// The words of page `page` (0: every page), in the order pdftotext gives them.
std::vector<BboxWord> bboxWords(const std::string &pdf, int page = 0);

} // namespace pdfw_test
