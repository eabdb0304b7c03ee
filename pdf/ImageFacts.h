// What an image file's page is and how it would go into the PDF, for the window's pre-flight:
// told by the engine's own readers (headers only, except that telling whether a damaged JPEG
// can be repaired reads it whole). Safe to call from several threads at once.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "pdf/Problem.h"

namespace folvane {

struct ImageFacts {
    enum class Intake {
        Unusable, // cannot go into a PDF: `problem` says why
        Copied,   // its compressed data goes in unchanged
        Repaired, // damaged but read whole: rewritten without loss; `repair` says what was wrong
        Recompressed, // decoded (or re-coded) and compressed again, without loss
    };
    bool ok = false;
    Problem problem;    // why it cannot be used (kind None when it can)
    std::string repair; // for a repair: what libjpeg found wrong ("" when it said nothing)
    std::string kind;   // "JPEG", "TIFF", "PNG"; "" when it is none of them
    int pages = 0;      // pages in the file
    int width = 0;      // the page's upright size in pixels
    int height = 0;
    Intake intake = Intake::Unusable;
};

// Page `page` (1-based) of the file at `path`, as it would go into the PDF the page loop writes.
ImageFacts inspectImage(const std::string &path, int page = 1);

// The pages of each file as the page loop counts them (every page of a TIFF or a PDF, opened
// with its password from `pdfPasswords`; 1 for any other file), from the files' first bytes, a
// TIFF's directories and a PDF's page tree only; 1 for a file that cannot be counted, whose run
// fails on it.
std::vector<int> countImagePages(const std::vector<std::string> &paths,
                                 const std::map<std::string, std::string> &pdfPasswords = {});

} // namespace folvane
