#include "pdfdoc/PopplerOpen.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <poppler/cpp/poppler-global.h>

namespace folvane::pdfdoc {

namespace {

// Poppler tells every syntax error it meets on standard error; the reason we give is ours.
void quietPoppler(const std::string & /*message*/, void * /*closure*/) {}

} // namespace

std::unique_lock<std::mutex> lockPoppler() {
    static std::mutex mutex;
    std::unique_lock<std::mutex> lock(mutex);
    static const bool quiet = [] {
        poppler::set_debug_error_function(quietPoppler, nullptr);
        return true;
    }();
    (void)quiet;
    return lock;
}

OpenedPdf openPdf(const std::string &path, const std::string &password) {
    OpenedPdf opened;
    // Poppler says nothing of why a file does not open: a file we cannot open at all is told
    // apart first, with the system's reason.
    if (std::FILE *file = std::fopen(path.c_str(), "rb")) {
        std::fclose(file);
    } else {
        opened.failure = PdfFailure::CannotOpen;
        opened.detail = std::strerror(errno);
        return opened;
    }
    opened.document.reset(poppler::document::load_from_file(path, password, password));
    if (!opened.document) {
        opened.failure = PdfFailure::Damaged;
        return opened;
    }
    opened.encrypted = opened.document->is_encrypted();
    if (opened.document->is_locked()) {
        opened.failure = password.empty() ? PdfFailure::NeedsPassword : PdfFailure::WrongPassword;
        opened.document.reset();
        return opened;
    }
    const int pages = opened.document->pages();
    if (pages <= 0) {
        opened.failure = PdfFailure::Damaged;
        opened.document.reset();
    } else if (pages > kMaxPdfPages) {
        opened.failure = PdfFailure::TooManyPages;
        opened.document.reset();
    }
    return opened;
}

} // namespace folvane::pdfdoc
