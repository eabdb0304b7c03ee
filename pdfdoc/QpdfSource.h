// The document as qpdf holds it, shared by pdfdoc's own files; no user of pdfdoc includes it.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include "pdfdoc/PdfPages.h"

namespace folvane::pdfdoc {

// A page with what it inherits from the page tree.
struct TreePage {
    QPDFObjectHandle page;
    QPDFObjectHandle resources;
    QPDFObjectHandle mediaBox;
    QPDFObjectHandle cropBox;
    QPDFObjectHandle rotate;
};

struct PdfPages::Source {
    std::unique_ptr<QPDF> qpdf;
    std::vector<TreePage> pages;
    // Every node of the page tree and the catalogue: references to them are not copied.
    std::set<QPDFObjGen> tree;
    // Objects already copied, with their numbers in the receiving document.
    std::map<QPDFObjGen, int> copied;
    bool recovered = false;
    std::string recoveryDetail;
};

// Runs `work` and turns what qpdf throws into PdfError (Damaged); PdfError, running out of
// memory and whatever the sink throws pass through.
template <typename Work> auto asPdfError(Work &&work) -> decltype(work()) {
    try {
        return work();
    } catch (const PdfError &) {
        throw;
    } catch (const std::bad_alloc &) {
        throw;
    } catch (const std::exception &e) {
        throw PdfError(PdfFailure::Damaged, e.what());
    }
}

} // namespace folvane::pdfdoc
