// What folvane-pdf shows while it scans: on a terminal, one line with the page and how much of
// it has come ("scanning page 3: 45%"), cleared when the page is written.
#pragma once

#include "scan/Scanner.h"

namespace folvane::cli {

class ScanProgress {
public:
    explicit ScanProgress(bool terminal) : terminal_(terminal) {}
    ~ScanProgress() { end(); }
    ScanProgress(const ScanProgress &) = delete;
    ScanProgress &operator=(const ScanProgress &) = delete;

    folvane::scan::ScanEvents events();
    // Clears the line.
    void end();

private:
    void show(const folvane::scan::PageProgress &progress);

    bool terminal_;
    bool shown_ = false;
    int lastPage_ = 0;
    int lastPercent_ = -1;
};

} // namespace folvane::cli
