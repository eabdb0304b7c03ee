#include "platform/ui/HeadlessListCtrl.h"

#include "platform/ui/CFont.h"
#include "platform/ui/CImageList.h"

namespace {
constexpr UINT kStateBits = LVIS_SELECTED | LVIS_FOCUSED;
}

HeadlessListCtrl::HeadlessListCtrl(HeadlessToolkit &log, int id, UiRect clientRect)
    : m_wnd(log, id, "", clientRect, true) {}

int HeadlessListCtrl::InsertItem(int row, const std::string &text) {
    if (row < 0) {
        return -1;
    }
    if (row > GetItemCount()) {
        row = GetItemCount();
    }
    Row inserted;
    inserted.texts.assign(std::max<std::size_t>(m_columns.size(), 1), std::string());
    inserted.texts[0] = text;
    m_rows.insert(m_rows.begin() + row, inserted);
    return row;
}

bool HeadlessListCtrl::DeleteItem(int row) {
    if (!Exists(row)) {
        return false;
    }
    m_rows.erase(m_rows.begin() + row);
    return true;
}

bool HeadlessListCtrl::DeleteAllItems() {
    m_rows.clear();
    return true;
}

std::string HeadlessListCtrl::GetItemText(int row, int column) const {
    if (!Exists(row) || column < 0 || column >= static_cast<int>(m_rows[row].texts.size())) {
        return {};
    }
    return m_rows[row].texts[column];
}

bool HeadlessListCtrl::SetItemText(int row, int column, const std::string &text) {
    if (!Exists(row) || column < 0 || column >= std::max(GetColumnCount(), 1)) {
        return false;
    }
    std::vector<std::string> &texts = m_rows[row].texts;
    if (column >= static_cast<int>(texts.size())) {
        texts.resize(column + 1);
    }
    texts[column] = text;
    return true;
}

bool HeadlessListCtrl::SetItemState(int row, UINT state, UINT mask) {
    if (!Exists(row)) {
        return false;
    }
    mask &= kStateBits;
    for (int i = 0; i < GetItemCount(); ++i) {
        if (i != row) {
            // One selected and one focused row at a time.
            m_rows[i].state &= ~(mask & state);
        }
    }
    m_rows[row].state = (m_rows[row].state & ~mask) | (state & mask);
    return true;
}

UINT HeadlessListCtrl::GetItemState(int row, UINT mask) const {
    return Exists(row) ? m_rows[row].state & mask : 0;
}

int HeadlessListCtrl::InsertColumn(int column, const std::string &heading, int format, int width) {
    if (column < 0) {
        return -1;
    }
    column = std::min(column, GetColumnCount());
    m_columns.insert(m_columns.begin() + column, Column{heading, format, width});
    for (Row &row : m_rows) {
        if (row.texts.size() < m_columns.size()) {
            row.texts.resize(m_columns.size());
        }
    }
    return column;
}

std::string HeadlessListCtrl::GetColumnHeading(int column) const {
    return column >= 0 && column < GetColumnCount() ? m_columns[column].heading : std::string();
}

int HeadlessListCtrl::GetColumnWidth(int column) const {
    return column >= 0 && column < GetColumnCount() ? m_columns[column].width : 0;
}

void HeadlessListCtrl::SetFont(const CFont &font) {
    m_fontFace = font.FaceName();
    m_fontHeight = font.Height();
}

void HeadlessListCtrl::SetImageList(const CImageList &images, int which) {
    if (which == LVSIL_SMALL) {
        m_smallImages = images.GetImageCount();
    }
}

void HeadlessListCtrl::UserHighlight(int row) {
    if (!Exists(row)) {
        for (Row &each : m_rows) {
            each.state &= ~LVIS_SELECTED;
        }
        return;
    }
    SetItemState(row, kStateBits, kStateBits);
}

int HeadlessListCtrl::HighlightedRow() const {
    for (int i = 0; i < GetItemCount(); ++i) {
        if (m_rows[i].state & LVIS_SELECTED) {
            return i;
        }
    }
    return -1;
}
