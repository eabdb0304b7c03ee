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
        const Page *page = m_pages.Find(id);
        // A PDF's page is never corrected: there is no sheet to look for.
        if (!page || page->sheet || IsPdfName(page->source.path) ||
            !m_sheetSearching.insert(id).second) {
            continue;
        }
        m_checks->Run([this, id, path = page->source.path]() -> std::function<void()> {
            const SheetCheck check = FindSheetInFile(path);
            return [this, id, check] { OnSheetSearched(id, check); };
        });
    }
}

void CFolvaneDlg::OnSheetSearched(PageId id, const SheetCheck &check) {
    m_sheetSearching.erase(id);
    if (Page *page = m_pages.Find(id)) {
        page->sheet = check;
    }
    if (const int row = m_pages.RowOf(id); row >= 0) {
        ShowRowCheck(row);
    }
}

void CFolvaneDlg::EnableCornersButton() {
    if (CWnd *button = GetDlgItem(IDC_BTN_CORNERS)) {
        button->EnableWindow(m_bDocument);
    }
}

void CFolvaneDlg::OnDblclkPreview(NMHDR * /*header*/, LRESULT *result) {
    *result = 0;
    if (m_bDocument && m_pages.Current() >= 0) {
        OnBtnCorners();
    }
}

void CFolvaneDlg::OnBtnCorners() {
    if (!m_bDocument) {
        return; // the button is off then
    }
    const int row = CurrentRow();
    if (row < 0) {
        Inform(texts::Window(kMsgSelectFirst));
        return;
    }
    if (RefusePdfCorrection(row)) {
        return;
    }
    const Page &edited = m_pages.At(row);
    const std::string path = edited.source.path;
    CorrectionPixels pixels;
    if (!DecodeForCorrection(path, kCornerEditorSide, pixels)) {
        Inform(texts::Window(texts::kCornersUnreadable, {path}));
        return;
    }
    std::optional<folvane::SheetCorners> start = edited.shape.handCorners;
    if (!start && edited.sheet && edited.sheet->found) {
        start = edited.sheet->corners;
    }
    const PageId id = edited.id;
    const CornerEditAnswer answer = EditCorners(MakeCornerRequest(pixels, start));
    switch (answer.choice) {
    case CornerEditAnswer::Choice::Cancel:
        return;
    case CornerEditAnswer::Choice::Automatic:
        Done(m_pages.SetCorners(row, std::nullopt), false);
        SearchSheets({id});
        break;
    case CornerEditAnswer::Choice::Accept: {
        const folvane::SheetCorners corners = FullSizeCorners(answer.corners, pixels);
        CorrectedPicture page;
        if (!CorrectForPreview(pixels, corners, page)) {
            Inform(texts::Window(texts::kCornersUnusable));
            return;
        }
        Done(m_pages.SetCorners(row, corners), false);
        break;
    }
    }
    JudgeBlankPages({id}); // the corrected page changed with its corners
    RefreshPreview();
}
