// What folvane-pdf tells the user on standard error while it works: progress (only on a
// terminal), one warning line per cut page or engine note, and the one failure line.
#pragma once

#include <string>

#include "pdf/PageGeneration.h"

namespace folvane::cli {

// Prints "folvane-pdf: <text>" and gives the failure exit status.
int fail(const std::string &text);

class Reporter {
public:
    explicit Reporter(bool terminal) : terminal_(terminal) {}

    // Events that show progress and warnings as the pages are written.
    folvane::GenerateEvents events();
    // Clears the progress line.
    void endProgress();
    // After a run that left out blank pages, the line that counts them.
    void reportBlankPages();
    // The failure line for a run that failed; gives the failure exit status.
    int failure(const folvane::GenerateError &error);

private:
    void showProgress(const folvane::PageStart &page);
    void warn(const folvane::PageNote &note);
    void leaveOutBlank(const folvane::PageStart &page);

    bool terminal_;
    bool progressShown_ = false;
    int blankPages_ = 0;
};

// The warning line for a note: "scan.tif: 64% of the image lies outside the page; -c fit
// fits it", the page named for a file of several ("scan.tif, page 2: ...").
std::string warningLine(const folvane::PageNote &note);

// The warning line for a file --skip-unreadable left out: its name, the page that cannot go
// in when it is not the first, and why.
std::string leftOutLine(const std::string &path, int page, const folvane::Problem &problem);

} // namespace folvane::cli
