// Pre-flight: every row's file is checked in the background as soon as it is added, by the
// engine's own readers. A row that cannot be used turns red with its reason as the tool tip;
// a good row's tool tip says how it will go into the PDF.

#include "app/CFolvaneDlg.h"

#include "app/BackgroundQueue.h"
#include "app/BlankTexts.h"
#include "app/BookTexts.h"
#include "app/PdfRows.h"
#include "app/RowCheck.h"
#include "app/WindowTexts.h"
#include "platform/ui/Translation.h"

namespace {
constexpr COLORREF kUnusableColor = ui::RGB(204, 0, 0);
} // namespace

void CFolvaneDlg::CheckPages(const std::vector<PageId> &ids) {
    if (!m_checks) {
        return;
    }
    // Every new row is checked, also a file added again: it may have changed on disk meanwhile.
    for (PageId id : ids) {
        const Page *page = m_pages.find(id);
        if (!page) {
            continue;
        }
        ++m_checksRunning;
        m_checks->run([this, inspect = m_fnInspect, id, source = page->source,
                       password = PdfPassword(page->source.path)]() -> std::function<void()> {
            const FileStamp file = fileStampOf(source.path);
            folvane::ImageFacts facts;
            try {
                facts = InspectSource(inspect, source, password);
            } catch (const std::exception &error) {
                facts.problem.kind = folvane::Problem::Kind::Internal;
                facts.problem.detail = error.what();
            }
            return [this, id, facts, file] { OnPageChecked(id, facts, file); };
        });
    }
    SearchSheets(ids);
}

void CFolvaneDlg::OnPageChecked(PageId id, const folvane::ImageFacts &facts,
                                const FileStamp &file) {
    --m_checksRunning;
    if (Page *page = m_pages.find(id)) {
        page->facts = facts;
        page->checkedFile = file;
        page->blank.reset();
        JudgeBlankPages({id});
    }
    // Finding a page's row takes a pass over the list. Checks finish in bursts, thousands at a
    // time for a large list: the rows of a burst are shown in one pass, right after it.
    if (m_checkedUnshown.empty() && m_checks) {
        m_checks->later([this] { ShowCheckedRows(); });
    }
    m_checkedUnshown.insert(id);
}

void CFolvaneDlg::RecheckChangedFiles() {
    const int count = m_pages.count();
    for (int row = 0; row < count; ++row) {
        Page *page = m_pages.find(m_pages.at(row).id);
        if (!page->facts) {
            continue; // its check is still running
        }
        const FileStamp now = fileStampOf(page->source.path);
        if (now == page->checkedFile) {
            continue;
        }
        folvane::ImageFacts facts;
        try {
            facts = InspectSource(m_fnInspect, page->source, PdfPassword(page->source.path));
        } catch (const std::exception &error) {
            facts.problem.kind = folvane::Problem::Kind::Internal;
            facts.problem.detail = error.what();
        }
        page->facts = facts;
        page->checkedFile = now;
        page->blank.reset(); // judged again; until then the page loop judges it
        JudgeBlankPages({page->id});
        ShowRowCheck(row);
    }
}

bool CFolvaneDlg::WillBeCorrected(const Page &page) const {
    // A photo whose sheet was found, or whose corners the user placed, is corrected; one
    // without a sheet goes in as it is, and its tip says so. So does a cropped page: the crop
    // already says what of the photo is the page.
    // A page of a PDF goes in as the page it is.
    const bool sheetFound = page.sheet && page.sheet->found && !page.sheet->twoSheets;
    return m_bDocument && !isPdfName(page.source.path) && page.shape.edits.correction &&
           !page.shape.edits.crop && (page.shape.handCorners.has_value() || sheetFound);
}

void CFolvaneDlg::ShowCheckedRows() {
    const int count = m_pages.count();
    for (int row = 0; row < count; ++row) {
        if (m_checkedUnshown.count(m_pages.at(row).id)) {
            ShowRowCheck(row);
        }
    }
    m_checkedUnshown.clear();
}

void CFolvaneDlg::ShowRowChecks() {
    const int count = m_pages.count();
    for (int row = 0; row < count; ++row) {
        ShowRowCheck(row);
    }
}

void CFolvaneDlg::ShowRowCheck(int row) {
    const Page &page = m_pages.at(row);
    if (!page.facts) {
        m_listImages.SetItemToolTip(row, "");
        m_listImages.SetItemTextColor(row, CLR_DEFAULT);
        return;
    }
    const folvane::ImageFacts &facts = *page.facts;
    const bool placed = page.shape.handCorners.has_value();
    const bool book = SplitsBook(page);
    folvane::ImageFacts told = facts;
    told.pages *= book ? 2 : 1; // each photo of the file gives the book's two pages
    std::string tip = rowCheckText(told, ChosenLayout(), page.shape.edits.quarterTurns,
                                   WillBeCorrected(page), page.shape.edits.crop);
    if (m_bDocument && facts.ok && isPdfName(page.source.path)) {
        tip += "\n" + Tr("Messages", "文档校正不适用于 PDF 的页面");
    } else if (m_bDocument && facts.ok && (page.sheet || placed)) {
        const std::string words = sheetCheckText(page.sheet ? *page.sheet : SheetCheck{}, placed);
        tip += words.empty() ? "" : "\n" + words;
    }
    if (book) {
        tip += "\n" + folvane::app::texts::window(folvane::app::texts::kSpreadTip);
    }
    if (page.blank.value_or(false)) {
        tip = folvane::app::texts::window(folvane::app::texts::kBlankTip) + "\n" + tip;
    }
    if (const std::string label = RowLabel(page); m_listImages.GetItemText(row, 1) != label) {
        m_listImages.SetItemText(row, 1, label);
    }
    m_listImages.SetItemToolTip(row, tip);
    m_listImages.SetItemTextColor(row, facts.ok ? CLR_DEFAULT : kUnusableColor);
}
