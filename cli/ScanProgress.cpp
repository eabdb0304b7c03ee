#include "cli/ScanProgress.h"

#include <cstdio>

#include "cli/Interrupts.h"
#include "cli/Texts.h"

namespace folvane::cli {

folvane::scan::ScanEvents ScanProgress::events() {
    folvane::scan::ScanEvents events;
    events.onProgress = [this](const folvane::scan::PageProgress &progress) { show(progress); };
    events.onPageWritten = [this](const folvane::scan::ScannedPage &) { end(); };
    return events;
}

void ScanProgress::show(const folvane::scan::PageProgress &progress) {
    if (!terminal_) {
        return;
    }
    // A length not known ahead (-1) shows the page alone.
    const int percent = progress.bytesExpected > 0
                            ? static_cast<int>(progress.bytesRead * 100 / progress.bytesExpected)
                            : -1;
    if (shown_ && progress.page == lastPage_ && percent == lastPercent_) {
        return;
    }
    lastPage_ = progress.page;
    lastPercent_ = percent;
    const std::string page = std::to_string(progress.page);
    const std::string line = percent >= 0
                                 ? fill(_("scanning page %1: %2%"), {page, std::to_string(percent)})
                                 : fill(_("scanning page %1"), {page});
    std::fprintf(stderr, "\r\033[K%s", line.c_str());
    std::fflush(stderr);
    shown_ = true;
    setProgressShown(true);
}

void ScanProgress::end() {
    if (shown_) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
        shown_ = false;
        setProgressShown(false);
    }
}

} // namespace folvane::cli
