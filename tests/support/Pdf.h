// Checking PDF files with tools other than the engine that wrote them: qpdf for structure and
// objects, poppler for page sizes, images, rendering and text.
#pragma once

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/Picture.h"

namespace support {

// `qpdf --check` accepts the file.
bool QpdfCheck(const std::string &pdf);
// The number of pages qpdf counts; -1 when it cannot read the file.
int PageCount(const std::string &pdf);

struct PageSize {
    double width; // points
    double height;
    bool operator==(const PageSize &) const = default;
};
inline void PrintTo(const PageSize &size, std::ostream *out) {
    *out << size.width << " x " << size.height;
}
// Every page's size, in page order (pdfinfo).
std::vector<PageSize> PageSizes(const std::string &pdf);

struct PdfImage {
    int page = 0;
    std::string type; // "image", or "smask" for a soft mask
    int width = 0;
    int height = 0;
    std::string colour; // "rgb", "gray", "cmyk", "index", ...
    int components = 0;
    int bits = 0;
    int xppi = 0;           // resolution as placed on its page
    std::string filter;     // the stream's filters, e.g. "DCTDecode" or "FlateDecode"; "" for none
    std::string dictionary; // the image's whole dictionary as qpdf shows it
};
// Every image of the document in page order (pdfimages -list, then qpdf for each dictionary).
std::vector<PdfImage> ListImages(const std::string &pdf);

// Every matrix given to the "cm" operator in the pages' content, in page order.
std::vector<std::array<double, 6>> PlacementMatrices(const std::string &pdf);
// The lines of the pages' content that draw an image ("q ... cm /Name Do Q"), in file order.
std::vector<std::string> DrawingLines(const std::string &pdf);
// The file in qpdf's QDF form: streams uncompressed, no object streams.
std::string Qdf(const std::string &pdf);

// Page `page` (from 1) as poppler renders it, one pixel per point, RGB. It renders at four
// pixels per point without anti-aliasing and keeps the centre of each 4 x 4 block: poppler
// smooths images drawn at less than four times their size, so only this shows the image's own
// samples. An empty picture when poppler cannot render the page.
Picture RenderPage(const std::string &pdf, int page = 1);

// The text poppler extracts (pdftotext, UTF-8), of one page or of all when page is 0.
std::string PdfText(const std::string &pdf, int page = 0);

} // namespace support
