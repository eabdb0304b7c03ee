// Document correction in the window: the sheet searched in every row's photo while "文档校正"
// is checked, and the corners placed by hand.

#include "app/CFolvaneDlg.h"

#include "app/BackgroundQueue.h"
#include "app/CornerRequest.h"
#include "app/CorrectedPreview.h"
#include "app/PdfRows.h"
#include "app/Resource.h"
#include "app/WindowTexts.h"

void CFolvaneDlg::SearchSheets(const std::vector<PageId> &ids) {
    if (!m_checks || !m_bDocument) {
        return; // searched once the box is checked
    }
    for (PageId id : ids) {
        const Page *page = m_pages.find(id);
        // A PDF's page is never corrected: there is no sheet to look for.
        if (!page || page->sheet || isPdfName(page->source.path) ||
            !m_sheetSearching.insert(id).second) {
            continue;
        }
        m_checks->run([this, id, path = page->source.path]() -> std::function<void()> {
            const SheetCheck check = findSheetInFile(path);
            return [this, id, check] { OnSheetSearched(id, check); };
        });
    }
}

void CFolvaneDlg::OnSheetSearched(PageId id, const SheetCheck &check) {
    m_sheetSearching.erase(id);
    if (Page *page = m_pages.find(id)) {
        page->sheet = check;
    }
    if (const int row = m_pages.rowOf(id); row >= 0) {
        ShowRowCheck(row);
        if (row == m_pages.current() && m_bSpreads) {
            RefreshPreview(); // a book found is shown as its two pages
        }
    }
}

void CFolvaneDlg::EnableCornersButton() {
    if (CWnd *button = GetDlgItem(IDC_BTN_CORNERS)) {
        button->EnableWindow(m_bDocument);
    }
}

void CFolvaneDlg::OnDblclkPreview(NMHDR * /*header*/, LRESULT *result) {
    *result = 0;
    if (m_bDocument && m_pages.current() >= 0) {
        OnBtnCorners();
    }
}

void CFolvaneDlg::OnBtnCorners() {
    if (!m_bDocument) {
        return; // the button is off then
    }
    const int row = CurrentRow();
    if (row < 0) {
        Inform(folvane::app::texts::window(kMsgSelectFirst));
        return;
    }
    if (RefusePdfCorrection(row)) {
        return;
    }
    const Page &edited = m_pages.at(row);
    const std::string path = edited.source.path;
    CorrectionPixels pixels;
    if (!decodeForCorrection(path, kCornerEditorSide, pixels)) {
        Inform(folvane::app::texts::window(folvane::app::texts::kCornersUnreadable, {path}));
        return;
    }
    std::optional<folvane::SheetCorners> start = edited.shape.handCorners;
    if (!start && edited.sheet && edited.sheet->found) {
        start = edited.sheet->corners;
    }
    const PageId id = edited.id;
    const CornerEditAnswer answer = EditCorners(makeCornerRequest(pixels, start));
    switch (answer.choice) {
    case CornerEditAnswer::Choice::Cancel:
        return;
    case CornerEditAnswer::Choice::Automatic:
        Done(m_pages.setCorners(row, std::nullopt), false);
        SearchSheets({id});
        break;
    case CornerEditAnswer::Choice::Accept: {
        const folvane::SheetCorners corners = fullSizeCorners(answer.corners, pixels);
        CorrectedPicture page;
        if (!correctForPreview(pixels, corners, page)) {
            Inform(folvane::app::texts::window(folvane::app::texts::kCornersUnusable));
            return;
        }
        m_placedBooks[id] = {corners, isSpreadWithin(pixels, corners)};
        Done(m_pages.setCorners(row, corners), false);
        break;
    }
    }
    JudgeBlankPages({id}); // the corrected page changed with its corners
    RefreshPreview();
}
