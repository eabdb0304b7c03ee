#include "platform/ui/CListCtrl.h"

#include "platform/ui/ListCtrlPeer.h"

void CListCtrl::Attach(ListCtrlPeer *peer) {
    m_list = peer;
    CWnd::Attach(peer);
}

void CListCtrl::Detach() {
    m_list = nullptr;
    CWnd::Detach();
}

int CListCtrl::GetItemCount() const {
    return m_list ? m_list->GetItemCount() : 0;
}

int CListCtrl::InsertItem(int row, const std::string &text) {
    return m_list ? m_list->InsertItem(row, text) : -1;
}

bool CListCtrl::DeleteItem(int row) {
    return m_list && m_list->DeleteItem(row);
}

bool CListCtrl::DeleteAllItems() {
    return m_list && m_list->DeleteAllItems();
}

std::string CListCtrl::GetItemText(int row, int column) const {
    return m_list ? m_list->GetItemText(row, column) : std::string();
}

bool CListCtrl::SetItemText(int row, int column, const std::string &text) {
    return m_list && m_list->SetItemText(row, column, text);
}

bool CListCtrl::SetItemState(int row, UINT state, UINT mask) {
    return m_list && m_list->SetItemState(row, state, mask);
}

UINT CListCtrl::GetItemState(int row, UINT mask) const {
    return m_list ? m_list->GetItemState(row, mask) : 0;
}

bool CListCtrl::SetItemToolTip(int row, const std::string &text) {
    return m_list && m_list->SetItemToolTip(row, text);
}

std::string CListCtrl::GetItemToolTip(int row) const {
    return m_list ? m_list->GetItemToolTip(row) : std::string();
}

bool CListCtrl::SetItemTextColor(int row, COLORREF color) {
    return m_list && m_list->SetItemTextColor(row, color);
}

COLORREF CListCtrl::GetItemTextColor(int row) const {
    return m_list ? m_list->GetItemTextColor(row) : CLR_DEFAULT;
}

POSITION CListCtrl::NextSelectedFrom(int row) const {
    const int count = GetItemCount();
    for (int i = row; i < count; ++i) {
        if (GetItemState(i, LVIS_SELECTED) != 0) {
            return static_cast<POSITION>(i) + 1;
        }
    }
    return 0;
}

POSITION CListCtrl::GetFirstSelectedItemPosition() const {
    return NextSelectedFrom(0);
}

int CListCtrl::GetNextSelectedItem(POSITION &position) const {
    if (position <= 0) {
        return -1;
    }
    const int row = static_cast<int>(position - 1);
    position = NextSelectedFrom(row + 1);
    return row;
}

int CListCtrl::InsertColumn(int column, const std::string &heading, int format, int width) {
    return m_list ? m_list->InsertColumn(column, heading, format, width) : -1;
}

void CListCtrl::SetExtendedStyle(unsigned style) {
    if (m_list) {
        m_list->SetExtendedStyle(style);
    }
}

unsigned CListCtrl::GetExtendedStyle() const {
    return m_list ? m_list->GetExtendedStyle() : 0;
}

void CListCtrl::SetBkColor(COLORREF color) {
    if (m_list) {
        m_list->SetBkColor(color);
    }
}

void CListCtrl::SetTextColor(COLORREF color) {
    if (m_list) {
        m_list->SetTextColor(color);
    }
}

void CListCtrl::SetTextBkColor(COLORREF color) {
    if (m_list) {
        m_list->SetTextBkColor(color);
    }
}

void CListCtrl::SetFont(const CFont &font) {
    if (m_list) {
        m_list->SetFont(font);
    }
}

void CListCtrl::SetImageList(const CImageList &images, int which) {
    if (m_list) {
        m_list->SetImageList(images, which);
    }
}
