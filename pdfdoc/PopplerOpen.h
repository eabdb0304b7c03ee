// Inside pdfdoc only: opening a PDF with Poppler under the one lock every Poppler call of this
// library holds. Poppler's global state (its font cache, its error callback) is not safe to use
// from two threads at once, and the window reads facts in the background while it draws a
// preview.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include <poppler/cpp/poppler-document.h>

#include "pdfdoc/PdfFacts.h"

namespace folvane::pdfdoc {

// Held around every use of Poppler.
std::unique_lock<std::mutex> lockPoppler();

struct OpenedPdf {
    std::unique_ptr<poppler::document> document; // null on failure
    PdfFailure failure = PdfFailure::None;
    std::string detail;
    bool encrypted = false;
};

// Opens path with password (tried as the open and as the owner password); the caller holds
// lockPoppler(). A file whose page count is beyond kMaxPdfPages is refused.
OpenedPdf openPdf(const std::string &path, const std::string &password);

} // namespace folvane::pdfdoc
