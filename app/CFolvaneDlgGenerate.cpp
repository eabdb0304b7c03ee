// The generate command: a question first when pages would be cut at the page edge, then the page
// loop on a worker thread behind a progress window that can cancel it, then the success box
// (with what was written where) and the finished PDF, or a failure box that says which file
// failed and why. With "在空白页处分成多个文件" the rows become a set of PDFs split at blank pages
// (app/DocumentSetRun.h): planned first, files of its names already there asked about, then
// written all or none. The list stays as it is in every case.

#include "app/CFolvaneDlg.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <vector>

#include "app/BlankTexts.h"
#include "app/CPasswordDlg.h"
#include "app/DocumentSetRun.h"
#include "app/Messages.h"
#include "app/PdfRows.h"
#include "app/Resource.h"
#include "app/SplitTexts.h"
#include "app/WindowTexts.h"
#include "pdf/PageGeneration.h"
#include "pdf/QuotedName.h"
#include "platform/crt/SplitPath.h"

namespace {

// Unusable files the question about leaving them out names one by one.
constexpr std::size_t kNamesInQuestion = 8;

// "第 i / N 页": i counts the pages begun, N the pages of all rows, each row counting as many
// as its file holds once that is known (one until then), twice as many for a row of open books.
class PageCount {
public:
    PageCount(std::vector<int> pagesPerRow, std::vector<int> pagesPerPhoto)
        : m_pages(std::move(pagesPerRow)), m_each(std::move(pagesPerPhoto)) {
        m_each.resize(m_pages.size(), 1);
        for (std::size_t row = 0; row < m_pages.size(); ++row) {
            m_total += m_pages[row] * m_each[row];
        }
    }
    std::string Next(const folvane::PageStart &page) {
        if (page.index < m_pages.size() && page.filePages > 0 &&
            page.filePages != m_pages[page.index]) {
            m_total += (page.filePages - m_pages[page.index]) * m_each[page.index];
            m_pages[page.index] = page.filePages;
        }
        ++m_begun;
        return folvane::app::texts::window(folvane::app::texts::kProgressPages,
                                           {std::to_string(m_begun), std::to_string(m_total)});
    }
    // Pages that will not be begun (separator sheets) leave the count.
    void LeaveOut(int pages) { m_total -= pages; }
    int Begun() const { return m_begun; }
    int Total() const { return m_total; }
    int PagesOfRow(std::size_t index) const { return index < m_pages.size() ? m_pages[index] : 1; }

private:
    std::vector<int> m_pages; // the pages of each row's file
    std::vector<int> m_each;  // the pages of the document each of them gives
    int m_total = 0;
    int m_begun = 0;
};

std::string FileName(const std::string &path) {
    const SplitPathParts parts = _splitpath(path);
    return folvane::quotedName(parts.fname + parts.ext);
}

// The success box's lines for pages "文档校正" could not correct, one per page (file and why),
// "……" when more follow; none when every page was corrected.
std::string UncorrectedLines(const std::vector<folvane::PageNote> &notes) {
    std::string lines;
    for (std::size_t i = 0; i < notes.size() && i < kNamesInQuestion; ++i) {
        lines += "\n" + folvane::app::texts::window(folvane::app::texts::kUnusableRow,
                                                    {FileName(notes[i].path), noteText(notes[i])});
    }
    if (notes.size() > kNamesInQuestion) {
        lines += "\n" + folvane::app::texts::window(folvane::app::texts::kMoreRows);
    }
    return lines;
}

// "共 N 页, 分成 M 个文件保存:", then each document with its pages, "……" after the first few.
std::string SetLines(const std::vector<std::string> &files, const std::vector<int> &pages,
                     int total) {
    std::string lines = folvane::app::texts::window(
        folvane::app::texts::kWrittenSet,
        {folvane::app::texts::windowCount(folvane::app::texts::kSetPages, total),
         folvane::app::texts::windowCount(folvane::app::texts::kSetFiles,
                                          static_cast<int>(files.size()))});
    for (std::size_t i = 0; i < files.size() && i < kNamesInQuestion; ++i) {
        lines += "\n" + folvane::app::texts::windowCount(folvane::app::texts::kWrittenMember,
                                                         i < pages.size() ? pages[i] : 0,
                                                         {folvane::quotedName(files[i])});
    }
    if (files.size() > kNamesInQuestion) {
        lines += "\n" + folvane::app::texts::window(folvane::app::texts::kMoreRows);
    }
    return lines;
}

// "操作失败!请重启后再试!", then the file that failed (with its page when it has several) or the
// output that could not be written, then why.
std::string FailureText(const folvane::GenerateError &error, int filePages) {
    std::string where = folvane::quotedName(error.path);
    if (!error.aboutOutput() && filePages > 1) {
        where = folvane::app::texts::window(folvane::app::texts::kFileAndPage,
                                            {where, std::to_string(error.filePage)});
    }
    return folvane::app::texts::window(kMsgFailure) + "\n" + where + "\n" +
           problemText(error.problem);
}

} // namespace

void CFolvaneDlg::OnBtnGenerate() {
    if (m_pages.empty()) {
        Inform(folvane::app::texts::window(kMsgNoImages));
        return;
    }
    if (m_strSavePath.empty()) {
        Inform(folvane::app::texts::window(kMsgNoSavePath));
        return;
    }
    std::vector<int> rows;
    if (!RowsToWrite(rows) || !CutPagesAgreed(rows)) {
        return;
    }
    const std::vector<std::string> listAtStart = ListPaths();
    WrittenPdf written;
    if (!WritePdf(rows, written)) {
        return;
    }
    m_writtenPaths = listAtStart;
    Inform(SuccessText(written));
    // A set opens its first document: the box names the others.
    OpenWithShell(written.files.empty() ? m_strSavePath : written.files.front());
}

std::string CFolvaneDlg::SuccessText(const WrittenPdf &written) const {
    std::string text = folvane::app::texts::window(kMsgSuccess) + "\n";
    if (written.files.empty()) {
        text +=
            written.cut.any()
                ? folvane::app::texts::windowCount(folvane::app::texts::kWrittenCut, written.pages,
                                                   {m_strSavePath, written.cut.text()})
                : folvane::app::texts::windowCount(folvane::app::texts::kWritten, written.pages,
                                                   {m_strSavePath});
    } else {
        text += SetLines(written.files, written.filePages, written.pages);
        if (written.cut.any()) {
            text += "\n" + written.cut.text();
        }
    }
    text += UncorrectedLines(written.uncorrected);
    if (written.blank > 0) {
        text += "\n" +
                folvane::app::texts::windowCount(folvane::app::texts::kBlankLeftOut, written.blank);
    }
    if (written.separators > 0) {
        text += "\n" + folvane::app::texts::windowCount(folvane::app::texts::kSeparatorsLeftOut,
                                                        written.separators);
    }
    return text;
}

bool CFolvaneDlg::CutPagesAgreed(const std::vector<int> &rows) {
    const folvane::PageLayout layout = ChosenLayout();
    CutPages cut;
    for (int row : rows) {
        // A file's pages are taken to share its first page's size, as a scanner writes them; the
        // success box counts the pages the run actually cut.
        // A page of a PDF keeps its own size: no class cuts it.
        const std::optional<folvane::ImageFacts> &facts = m_pages.at(row).facts;
        if (facts && facts->ok && !layout.fit && facts->kind != kPdfKind &&
            !WillBeCorrected(m_pages.at(row))) {
            const PageEdits &edits = m_pages.at(row).shape.edits;
            const bool turned = edits.quarterTurns % 2 != 0;
            int width = turned ? facts->height : facts->width;
            int height = turned ? facts->width : facts->height;
            if (edits.crop) { // the class places the part kept
                width = edits.crop->right - edits.crop->left;
                height = edits.crop->bottom - edits.crop->top;
            }
            cut.add(folvane::placeOnPage(layout, width, height).outside, std::max(1, facts->pages));
        }
    }
    if (!cut.any()) {
        return true;
    }
    const int answer =
        AskQuestion(folvane::app::texts::window(folvane::app::texts::kCutQuestion, {cut.text()}),
                    folvane::app::texts::window(kCaptionNotice),
                    {folvane::app::texts::window(folvane::app::texts::kAnswerFit),
                     folvane::app::texts::window(folvane::app::texts::kAnswerContinue),
                     folvane::app::texts::window(kAnswerCancel)});
    if (answer == 0) {
        SetImageType(kImageTypeFit);
        UpdateData(false); // the radio buttons show the switch
    }
    return answer == 0 || answer == 1;
}

bool CFolvaneDlg::RowsToWrite(std::vector<int> &rows) {
    RecheckChangedFiles();
    std::vector<int> unusable;
    const int count = m_pages.count();
    for (int row = 0; row < count; ++row) {
        const std::optional<folvane::ImageFacts> &facts = m_pages.at(row).facts;
        (facts && !facts->ok ? unusable : rows).push_back(row);
    }
    if (unusable.empty()) {
        return true;
    }
    if (rows.empty()) {
        // Nothing would be left to write: the first file's failure is the answer.
        const int row = unusable.front();
        Inform(folvane::app::texts::window(kMsgFailure) + "\n" + RowPath(row) + "\n" +
               problemText(m_pages.at(row).facts->problem));
        return false;
    }
    std::string question = folvane::app::texts::windowCount(folvane::app::texts::kUnusableRows,
                                                            static_cast<int>(unusable.size()));
    for (std::size_t i = 0; i < unusable.size() && i < kNamesInQuestion; ++i) {
        const int row = unusable[i];
        question +=
            "\n" + folvane::app::texts::window(
                       folvane::app::texts::kUnusableRow,
                       {FileName(RowPath(row)), problemText(m_pages.at(row).facts->problem)});
    }
    if (unusable.size() > kNamesInQuestion) {
        question += "\n" + folvane::app::texts::window(folvane::app::texts::kMoreRows);
    }
    question += "\n" + folvane::app::texts::windowCount(folvane::app::texts::kSkipQuestion,
                                                        static_cast<int>(rows.size()));
    return AskQuestion(question, folvane::app::texts::window(kCaptionNotice),
                       {folvane::app::texts::window(kAnswerSkip),
                        folvane::app::texts::window(kAnswerCancel)}) == 0;
}

namespace {

// The files of `rows` in order, each row's edits, page and the pre-flight's blank verdict put
// into `options`, and the pages each row gives for the progress.
std::vector<std::string> RowsOfRun(const PageList &pages, const std::vector<int> &rows,
                                   folvane::GenerateOptions &options,
                                   std::vector<int> &pagesPerRow) {
    std::vector<std::string> paths;
    for (int row : rows) {
        const Page &page = pages.at(row);
        if (page.shape.handCorners) {
            options.handCorners[paths.size()] = *page.shape.handCorners;
        }
        if (page.shape.edits.quarterTurns != 0 || page.shape.edits.crop) {
            options.pageEdits[paths.size()] = {page.shape.edits.quarterTurns,
                                               page.shape.edits.crop};
        }
        if (page.blank && page.facts && page.facts->pages == 1) {
            options.blankRows[paths.size()] = *page.blank; // the pre-flight's verdict stands
        }
        const bool onePage = page.source.page && isPdfName(page.source.path);
        if (onePage) {
            options.rowPages[paths.size()] = *page.source.page;
        }
        paths.push_back(page.source.path);
        pagesPerRow.push_back(!onePage && page.facts && page.facts->pages > 0 ? page.facts->pages
                                                                              : 1);
    }
    return paths;
}

} // namespace

bool CFolvaneDlg::OptionsOfRun(const std::vector<int> &rows, folvane::GenerateOptions &options,
                               std::vector<std::string> &paths, std::vector<int> &pagesPerRow) {
    // "加密": the passwords are asked for each PDF and kept nowhere after it.
    if (CWnd *encrypt = GetDlgItem(IDC_CHECK_ENCRYPT); encrypt && encrypt->GetCheck()) {
        CPasswordDlg passwords(Toolkit());
        if (passwords.DoModal() != IDOK) {
            return false;
        }
        options.encryption = passwords.Settings();
    }
    options.layout = ChosenLayout();
    options.properties = PropertiesForSavePath();
    if (m_bOcr) {
        options.ocrLanguages = kOcrLanguages;
    }
    options.correctDocuments = m_bDocument;
    options.spreads = SpreadsOfRun();
    options.skipBlank = m_bSkipBlank;
    paths = RowsOfRun(m_pages, rows, options, pagesPerRow);
    options.pdfPasswords = m_pdfPasswords;
    return true;
}

namespace {

// Runs `work`; the failure box's text when it failed, "" when it was cancelled (the user's own
// choice: no box; nothing was written and an old file is untouched), nothing on success.
// `pagesOfRow` tells how many pages a row's file has; `unchanged` ends the box of a set.
std::optional<std::string> FailureOf(const std::function<void()> &work,
                                     const std::function<int(std::size_t)> &pagesOfRow,
                                     const std::string &unchanged) {
    try {
        work();
        return std::nullopt;
    } catch (const folvane::GenerateCancelled &) {
        return std::string();
    } catch (const folvane::GenerateError &error) {
        return FailureText(error, pagesOfRow(error.index)) + unchanged;
    } catch (const DocumentSetFailure &failure) {
        return folvane::app::texts::window(kMsgFailure) + "\n" + setProblemText(failure.problem) +
               unchanged;
    } catch (const std::exception &error) {
        // Not the engine's: the program's own fault, its words only in parentheses.
        folvane::Problem internal;
        internal.kind = folvane::Problem::Kind::Internal;
        internal.detail = error.what();
        return folvane::app::texts::window(kMsgFailure) + "\n" + problemText(internal);
    } catch (...) {
        return folvane::app::texts::window(kMsgFailure);
    }
}

} // namespace

bool CFolvaneDlg::WritePdf(const std::vector<int> &rows, WrittenPdf &written) {
    folvane::GenerateOptions options;
    std::vector<std::string> paths;
    std::vector<int> pagesPerRow;
    if (!OptionsOfRun(rows, options, paths, pagesPerRow)) {
        return false;
    }
    // With a text layer each page is recognised as it goes in, and the window says so.
    const auto detail = [this](const std::string &path) {
        return m_bOcr ? folvane::app::texts::window(folvane::app::texts::kRecognising,
                                                    {FileName(path)})
                      : FileName(path);
    };
    std::vector<int> pagesPerPhoto;
    for (int row : rows) {
        pagesPerPhoto.push_back(SplitsBook(m_pages.at(row)) ? 2 : 1);
    }
    ProgressState progress;
    PageCount count(std::move(pagesPerRow), std::move(pagesPerPhoto));
    progress.Report(0, count.Total(), "", detail(paths.front()));
    const ProgressRequest request{
        folvane::app::texts::window(folvane::app::texts::kProgressCaption),
        folvane::app::texts::window(kAnswerCancel)};
    const auto failed = [&](const std::function<void()> &work) {
        const std::optional<std::string> failure = FailureOf(
            work, [&count](std::size_t row) { return count.PagesOfRow(row); }, SetUnchangedLine());
        if (failure && !failure->empty()) {
            Inform(*failure);
        }
        return failure.has_value();
    };
    // A set is planned first (its blank pages found), then checked and agreed to.
    SetPlan plan;
    folvane::DocumentSet set;
    if (m_bSplitAtBlank) {
        const auto planAndPrepare = [&] {
            RunWithProgress(request, progress,
                            [&] { plan = planSetAtBlankPages(m_strSavePath, paths, options); });
            prepareSet(set, m_strSavePath, plan, paths);
        };
        if (failed(planAndPrepare) || progress.CancelRequested() ||
            !SetReplacementAgreed(set.targets())) {
            return false;
        }
    }
    count.LeaveOut(plan.separators);
    return !failed([&] {
        RunWithProgress(request, progress, [&] {
            folvane::GenerateEvents events;
            events.onPage = [&](const folvane::PageStart &page) {
                const std::string text = count.Next(page);
                progress.Report(count.Begun(), count.Total(), text, detail(page.path));
            };
            events.onNote = [&written](const folvane::PageNote &note) {
                if (note.kind == folvane::PageNote::Kind::Cropped) {
                    written.cut.add(note.outside);
                }
                if (note.kind == folvane::PageNote::Kind::NotCorrected) {
                    written.uncorrected.push_back(note);
                }
            };
            events.onBlankSkipped = [&written](const folvane::PageStart &) { ++written.blank; };
            events.stopRequested = [&progress] { return progress.CancelRequested(); };
            if (m_bSplitAtBlank) {
                written.files = writeSet(set, plan, paths, options, events, written.filePages);
                written.separators = plan.separators;
            } else {
                folvane::generatePdf(m_strSavePath, paths, options, events);
            }
        });
        written.pages = count.Begun();
    });
}

bool CFolvaneDlg::SetReplacementAgreed(const std::vector<std::string> &targets) {
    std::vector<std::string> existing;
    for (const std::string &target : targets) {
        struct stat file {};
        if (::lstat(target.c_str(), &file) == 0) {
            existing.push_back(target);
        }
    }
    if (existing.empty()) {
        return true;
    }
    std::string question = folvane::app::texts::windowCount(
        folvane::app::texts::kReplaceSetQuestion, static_cast<int>(existing.size()));
    for (std::size_t i = 0; i < existing.size() && i < kNamesInQuestion; ++i) {
        question += "\n" + folvane::quotedName(existing[i]);
    }
    if (existing.size() > kNamesInQuestion) {
        question += "\n" + folvane::app::texts::window(folvane::app::texts::kMoreRows);
    }
    question += "\n" + folvane::app::texts::window(folvane::app::texts::kReplaceSetAsk);
    return AskQuestion(question, folvane::app::texts::window(kCaptionNotice),
                       {folvane::app::texts::window(folvane::app::texts::kAnswerReplace),
                        folvane::app::texts::window(kAnswerCancel)}) == 0;
}

std::string CFolvaneDlg::SetUnchangedLine() const {
    return m_bSplitAtBlank
               ? "\n" + folvane::app::texts::window(folvane::app::texts::kSetNothingChanged)
               : std::string();
}
