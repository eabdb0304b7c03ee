// The words poppler finds in a PDF (`pdftotext -bbox-layout`), with their boxes: where a
// viewer's search and selection would find them.
#pragma once

#include <string>
#include <vector>

namespace support {

struct PdfWord {
    std::string text;
    double xMin, yMin, xMax, yMax; // points, from the page's top left corner
};

// The words of page `page` (from 1; 0: every page), in the order pdftotext gives them.
std::vector<PdfWord> PdfWords(const std::string &pdf, int page = 0);

} // namespace support
