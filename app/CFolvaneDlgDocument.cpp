// Document correction in the window: the sheet searched in every row's photo while "文档校正"
// is checked, and the corners placed by hand.

#include "app/CFolvaneDlg.h"

#include "app/BackgroundQueue.h"
#include "app/CornerRequest.h"
#include "app/CorrectedPreview.h"
#include "app/Resource.h"
#include "app/WindowTexts.h"

namespace {
constexpr int kColumnPath = 1;
} // namespace

void CFolvaneDlg::SearchSheets(const std::vector<std::string> &paths) {
    if (!m_checks || !m_bDocument) {
        return; // searched once the box is checked
    }
    for (const std::string &path : paths) {
        if (m_sheetChecks.count(path) != 0 || !m_sheetSearching.insert(path).second) {
            continue;
        }
        m_checks->Run([this, path]() -> std::function<void()> {
            const SheetCheck check = FindSheetInFile(path);
            return [this, path, check] { OnSheetSearched(path, check); };
        });
    }
}

void CFolvaneDlg::OnSheetSearched(const std::string &path, const SheetCheck &check) {
    m_sheetSearching.erase(path);
    m_sheetChecks[path] = check;
    const int count = m_listImages.GetItemCount();
    for (int row = 0; row < count; ++row) {
        if (m_listImages.GetItemText(row, kColumnPath) == path) {
            ShowRowCheck(row);
        }
    }
}

const SheetCheck *CFolvaneDlg::RowSheet(int row) const {
    auto found = m_sheetChecks.find(m_listImages.GetItemText(row, kColumnPath));
    return found == m_sheetChecks.end() ? nullptr : &found->second;
}

std::optional<folvane::SheetCorners> CFolvaneDlg::HandCorners(const std::string &path) const {
    auto found = m_handCorners.find(path);
    if (found == m_handCorners.end()) {
        return std::nullopt;
    }
    return found->second;
}

void CFolvaneDlg::EnableCornersButton() {
    if (CWnd *button = GetDlgItem(IDC_BTN_CORNERS)) {
        button->EnableWindow(m_bDocument);
    }
}

void CFolvaneDlg::OnDblclkPreview(NMHDR * /*header*/, LRESULT *result) {
    *result = 0;
    if (m_bDocument && m_nSelected >= 0) {
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
    const std::string path = m_listImages.GetItemText(row, kColumnPath);
    CorrectionPixels pixels;
    if (!DecodeForCorrection(path, kCornerEditorSide, pixels)) {
        Inform(texts::Window(texts::kCornersUnreadable, {path}));
        return;
    }
    std::optional<folvane::SheetCorners> start = HandCorners(path);
    const auto searched = m_sheetChecks.find(path);
    if (!start && searched != m_sheetChecks.end() && searched->second.found) {
        start = searched->second.corners;
    }
    const CornerEditAnswer answer = EditCorners(MakeCornerRequest(pixels, start));
    switch (answer.choice) {
    case CornerEditAnswer::Choice::Cancel:
        return;
    case CornerEditAnswer::Choice::Automatic:
        m_handCorners.erase(path);
        SearchSheets({path});
        break;
    case CornerEditAnswer::Choice::Accept: {
        const folvane::SheetCorners corners = FullSizeCorners(answer.corners, pixels);
        CorrectedPicture page;
        if (!CorrectForPreview(pixels, corners, page)) {
            Inform(texts::Window(texts::kCornersUnusable));
            return;
        }
        m_handCorners[path] = corners;
        break;
    }
    }
    ShowRowChecks();
    RefreshPreview();
}
