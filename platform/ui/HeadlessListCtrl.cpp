#include "platform/ui/HeadlessListCtrl.h"

#include <algorithm>

#include "platform/ui/CFont.h"
#include "platform/ui/CImageList.h"

HeadlessListCtrl::HeadlessListCtrl(HeadlessToolkit &log, int id, UiRect clientRect)
    : m_wnd(log, id, "", clientRect, true) {}

bool HeadlessListCtrl::DeleteAllItems() {
    m_rows.DeleteAllRows();
    return true;
}

int HeadlessListCtrl::GetColumnWidth(int column) const {
    const int last = m_rows.ColumnCount() - 1;
    if (column != last || last < 0) {
        return m_rows.ColumnFormat(column).width;
    }
    int rest = GetClientRect().Width();
    for (int before = 0; before < last; ++before) {
        rest -= m_rows.ColumnFormat(before).width;
    }
    return std::max(rest, kLeastLastColumnWidth);
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
    if (!m_rows.Exists(row)) {
        m_rows.ClearState(LVIS_SELECTED);
        return;
    }
    m_rows.SetState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}
