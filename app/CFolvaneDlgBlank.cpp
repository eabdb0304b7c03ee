// Blank pages: once the pre-flight has checked a row that stands for one page, the blank-page
// rule reads that page as it will go in (corrected where "文档校正" will correct it) in a
// background queue of its own, so that it never holds up the checks or the sheet search. A
// blank row says "空白页" in the list and in its tool tip; with "跳过空白页" checked, "生成PDF"
// leaves it out.

#include "app/CFolvaneDlg.h"

#include "app/BackgroundQueue.h"
#include "app/BlankTexts.h"
#include "app/BookTexts.h"
#include "app/Resource.h"
#include "app/WindowSettings.h"
#include "app/WindowTexts.h"
#include "blank/PageFile.h"
#include "platform/ui/UiToolkit.h"

namespace {

// A row of a file's one page, or of one page of a file of several: the rule's verdict on that
// page is the row's. A row that stands for every page of a TIFF is judged page by page when
// the PDF is written.
bool StandsForOnePage(const Page &page) {
    return page.source.page.has_value() || (page.facts && page.facts->ok && page.facts->pages == 1);
}

} // namespace

void CFolvaneDlg::JudgeBlankPages(const std::vector<PageId> &ids) {
    if (!m_blankChecks) {
        return;
    }
    for (PageId id : ids) {
        const Page *page = m_pages.find(id);
        if (!page || !StandsForOnePage(*page)) {
            continue;
        }
        folvane::blank::PageToJudge request;
        request.path = page->source.path;
        request.page = page->source.page.value_or(1);
        request.corrected = m_bDocument && page->shape.edits.correction && !page->shape.edits.crop;
        request.corners = page->shape.handCorners;
        ++m_blankRunning;
        m_blankChecks->run([this, id, round = m_blankRound, request]() -> std::function<void()> {
            const std::optional<folvane::blank::BlankVerdict> verdict =
                folvane::blank::judgePageFile(request);
            const bool blank = verdict && verdict->blank;
            return [this, id, round, blank] { OnBlankJudged(id, round, blank); };
        });
    }
}

void CFolvaneDlg::OnBlankJudged(PageId id, int round, bool blank) {
    --m_blankRunning;
    if (round != m_blankRound) {
        return;
    }
    if (Page *page = m_pages.find(id)) {
        page->blank = blank;
    }
    if (const int row = m_pages.rowOf(id); row >= 0) {
        ShowRowCheck(row);
    }
}

void CFolvaneDlg::JudgeBlankPagesAgain() {
    ++m_blankRound;
    const int count = m_pages.count();
    std::vector<PageId> ids;
    for (int row = 0; row < count; ++row) {
        if (Page *page = m_pages.find(m_pages.at(row).id); page && page->facts) {
            page->blank.reset();
            ids.push_back(page->id);
        }
    }
    JudgeBlankPages(ids);
}

std::string CFolvaneDlg::RowLabel(const Page &page) const {
    std::string text = RowText(page);
    if (SplitsBook(page)) {
        text = folvane::app::texts::window(folvane::app::texts::kSpreadRow, {text});
    }
    return page.blank.value_or(false)
               ? folvane::app::texts::window(folvane::app::texts::kBlankRow, {text})
               : text;
}

void CFolvaneDlg::OnCheckSkipBlank() {
    if (CWnd *check = GetDlgItem(IDC_CHECK_SKIP_BLANK)) {
        m_bSkipBlank = check->GetCheck();
        WindowSettings(Toolkit().Settings()).setSkipBlank(m_bSkipBlank);
    }
}

void CFolvaneDlg::OnCheckSplitAtBlank() {
    if (CWnd *check = GetDlgItem(IDC_CHECK_SPLIT_BLANK)) {
        m_bSplitAtBlank = check->GetCheck();
        WindowSettings(Toolkit().Settings()).setSplitAtBlank(m_bSplitAtBlank);
    }
}
