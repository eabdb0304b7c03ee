// Which inputs are pages of existing PDF documents, and what the page loop asks of them before
// it writes: their page count, with the reason one cannot be read.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "pdf/Problem.h"

namespace folvane {

// Whether a path names a PDF document: its name ends with ".pdf", in any case.
bool isPdfPath(const std::string &path);

// The pages of the PDF document at `path`, opened with `password` (may be empty); 0 with
// `problem` set when it cannot be read.
int pdfPageCount(const std::string &path, const std::string &password, Problem &problem);

// Each page's size in points as it is shown (its crop box, turned by its own /Rotate), width
// then height; empty with `problem` set when the document cannot be read.
std::vector<std::pair<double, double>> pdfShownSizes(const std::string &path,
                                                     const std::string &password, Problem &problem);

} // namespace folvane
