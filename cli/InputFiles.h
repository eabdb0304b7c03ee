// What folvane-pdf makes of its inputs before the page loop: folders become their images, and
// with --skip-unreadable the files the PDF cannot take are left out.
#pragma once

#include <string>
#include <vector>

#include "pdf/Problem.h"

namespace folvane::cli {

// Replaces every input that is a folder by its page images (JPEG, TIFF and PNG file names, as
// the window adds a folder), not those of its subfolders, in natural order (page-2 before
// page-10). False with `error` set when a folder cannot be read or holds no page image.
bool expandFolders(std::vector<std::string> &inputs, std::string &error);

// An input left out, and why: page `page` of it cannot go into the PDF.
struct LeftOutFile {
    std::string path;
    int page = 1;
    folvane::Problem problem;
};

// The inputs every page of which (only the first with `firstPageOnly`) can go into the PDF, in
// order; the others go to `leftOut`.
std::vector<std::string> readableInputs(const std::vector<std::string> &inputs, bool firstPageOnly,
                                        std::vector<LeftOutFile> &leftOut);

// Whether a failure of the page loop is about an input image that cannot go into the PDF
// (missing, damaged, not an image, ...), which --skip-unreadable leaves out, rather than about
// the output, memory or the program.
bool isUnreadableInput(const folvane::Problem &problem);

} // namespace folvane::cli
