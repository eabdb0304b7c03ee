// Rows of existing PDFs: a PDF added gives one row for each of its pages, after its open
// password is asked for when it has one. The password stays in memory for the window's life.

#include "app/CFolvaneDlg.h"

#include "app/Messages.h"
#include "app/PdfRows.h"
#include "app/WindowTexts.h"
#include "pdfdoc/PdfFacts.h"
#include "platform/crt/SplitPath.h"

namespace {

constexpr const char *kPasswordCaption = TR_NOOP("Window", "输入密码");
constexpr const char *kPasswordText = TR_NOOP("Window", "“%1”有打开密码保护。\n请输入它的密码:");
constexpr const char *kPdfNotCorrected =
    TR_NOOP("Window", "文档校正不适用于 PDF 的页面: 它原样放入, 无需调整边角。");

bool IsPasswordFailure(folvane::pdfdoc::PdfFailure failure) {
    return failure == folvane::pdfdoc::PdfFailure::NeedsPassword ||
           failure == folvane::pdfdoc::PdfFailure::WrongPassword;
}

} // namespace

std::vector<PageSource> CFolvaneDlg::SourcesOfFiles(const std::vector<std::string> &paths) {
    std::vector<PageSource> sources;
    sources.reserve(paths.size());
    for (const std::string &path : paths) {
        if (!isPdfName(path)) {
            sources.push_back(PageSource{path, std::nullopt});
            continue;
        }
        folvane::pdfdoc::PdfFacts facts = folvane::pdfdoc::readPdfFacts(path, PdfPassword(path));
        if (IsPasswordFailure(facts.failure)) {
            const SplitPathParts parts = _splitpath(path);
            const std::optional<std::string> password =
                AskPassword({folvane::app::texts::window(kPasswordText, {parts.fname + parts.ext}),
                             folvane::app::texts::window(kPasswordCaption),
                             folvane::app::texts::window(kAnswerOk),
                             folvane::app::texts::window(kAnswerCancel)});
            if (password) {
                // Kept also when wrong: the row's check then says the password is wrong.
                m_pdfPasswords[path] = *password;
                facts = folvane::pdfdoc::readPdfFacts(path, *password);
            }
        }
        if (facts.failure != folvane::pdfdoc::PdfFailure::None) {
            sources.push_back(PageSource{path, std::nullopt});
            continue;
        }
        m_pdfPageCounts[path] = facts.pages;
        for (int page = 1; page <= facts.pages; ++page) {
            sources.push_back(PageSource{path, page});
        }
    }
    return sources;
}

std::string CFolvaneDlg::PdfPassword(const std::string &path) const {
    const auto found = m_pdfPasswords.find(path);
    return found == m_pdfPasswords.end() ? std::string() : found->second;
}

std::string CFolvaneDlg::RowText(const Page &page) const {
    if (!page.source.page || !isPdfName(page.source.path)) {
        return page.source.path;
    }
    int pages = page.facts && page.facts->pages > 0 ? page.facts->pages : 0;
    if (pages == 0) {
        const auto found = m_pdfPageCounts.find(page.source.path);
        pages = found == m_pdfPageCounts.end() ? *page.source.page : found->second;
    }
    return pdfRowText(page.source.path, *page.source.page, pages);
}

folvane::ImageFacts
CFolvaneDlg::InspectSource(const std::function<folvane::ImageFacts(const std::string &)> &inspect,
                           const PageSource &source, const std::string &password) {
    if (isPdfName(source.path)) {
        return inspectPdfPage(source.path, source.page.value_or(1), password);
    }
    return inspect(source.path);
}

bool CFolvaneDlg::RefusePdfCorrection(int row) {
    if (row < 0 || !isPdfName(RowPath(row))) {
        return false;
    }
    Inform(folvane::app::texts::window(kPdfNotCorrected));
    return true;
}
