#include "pdfdoc/PdfFacts.h"

#include <memory>

#include <poppler/cpp/poppler-page.h>

#include "pdfdoc/PopplerOpen.h"

namespace folvane::pdfdoc {

namespace {

int rotationOf(poppler::page::orientation_enum orientation) {
    switch (orientation) {
    case poppler::page::landscape:
        return 90;
    case poppler::page::upside_down:
        return 180;
    case poppler::page::seascape:
        return 270;
    case poppler::page::portrait:
        break;
    }
    return 0;
}

bool anyVisibleCharacter(const poppler::ustring &text) {
    for (const char byte : text.to_utf8()) {
        const unsigned char c = static_cast<unsigned char>(byte);
        if (c > ' ') {
            return true;
        }
    }
    return false;
}

} // namespace

PdfFacts readPdfFacts(const std::string &path, const std::string &password, int page) {
    PdfFacts facts;
    const std::unique_lock<std::mutex> lock = lockPoppler();
    OpenedPdf opened = openPdf(path, password);
    facts.encrypted = opened.encrypted;
    if (!opened.document) {
        facts.failure = opened.failure;
        facts.detail = opened.detail;
        return facts;
    }
    facts.pages = opened.document->pages();
    if (page == 0) {
        return facts;
    }
    if (page < 0 || page > facts.pages) {
        facts.failure = PdfFailure::NoSuchPage;
        return facts;
    }
    const std::unique_ptr<poppler::page> drawn(opened.document->create_page(page - 1));
    if (!drawn) {
        facts.failure = PdfFailure::Damaged;
        return facts;
    }
    const poppler::rectf box = drawn->page_rect(poppler::crop_box);
    facts.page.rotation = rotationOf(drawn->orientation());
    const bool sideways = facts.page.rotation % 180 != 0;
    facts.page.width = sideways ? box.height() : box.width();
    facts.page.height = sideways ? box.width() : box.height();
    facts.page.hasText = anyVisibleCharacter(drawn->text());
    if (!(facts.page.width > 0) || !(facts.page.height > 0)) {
        facts.failure = PdfFailure::Damaged;
    }
    return facts;
}

bool needsPassword(const std::string &path) {
    return readPdfFacts(path).failure == PdfFailure::NeedsPassword;
}

bool passwordOpens(const std::string &path, const std::string &password) {
    const PdfFailure failure = readPdfFacts(path, password).failure;
    return failure == PdfFailure::None || failure == PdfFailure::TooManyPages;
}

} // namespace folvane::pdfdoc
