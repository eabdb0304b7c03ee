// Open books in the window: while "文档校正" and "书本分两页" are checked, a row whose photo shows
// an open book goes in as the book's two pages, the left one first unless "从右到左" is checked.
// The row says so and the preview shows both pages.

#include "app/CFolvaneDlg.h"

#include "app/Resource.h"
#include "app/WindowSettings.h"
#include "platform/ui/UiToolkit.h"

bool CFolvaneDlg::SplitsBook(const Page &page) const {
    if (!m_bSpreads || !WillBeCorrected(page)) {
        return false;
    }
    if (page.shape.handCorners) {
        const auto placed = m_placedBooks.find(page.id);
        if (placed != m_placedBooks.end() && placed->second.corners == *page.shape.handCorners) {
            return placed->second.spread;
        }
    }
    return page.sheet && page.sheet->spread;
}

void CFolvaneDlg::EnableBookChoices() {
    if (CWnd *spreads = GetDlgItem(IDC_CHECK_SPREADS)) {
        spreads->EnableWindow(m_bDocument);
    }
    if (CWnd *order = GetDlgItem(IDC_CHECK_RIGHT_TO_LEFT)) {
        order->EnableWindow(m_bDocument && m_bSpreads);
    }
}

folvane::GenerateOptions::Spreads CFolvaneDlg::SpreadsOfRun() const {
    if (!m_bSpreads) {
        return folvane::GenerateOptions::Spreads::Kept;
    }
    return m_bRightToLeft ? folvane::GenerateOptions::Spreads::RightFirst
                          : folvane::GenerateOptions::Spreads::LeftFirst;
}

void CFolvaneDlg::OnCheckSpreads() {
    if (CWnd *check = GetDlgItem(IDC_CHECK_SPREADS)) {
        m_bSpreads = check->GetCheck();
        WindowSettings(Toolkit().Settings()).setSpreads(m_bSpreads);
        EnableBookChoices();
        ShowRowChecks();
        RefreshPreview();
    }
}

void CFolvaneDlg::OnCheckRightToLeft() {
    if (CWnd *check = GetDlgItem(IDC_CHECK_RIGHT_TO_LEFT)) {
        m_bRightToLeft = check->GetCheck();
        WindowSettings(Toolkit().Settings()).setRightToLeft(m_bRightToLeft);
        RefreshPreview();
    }
}
