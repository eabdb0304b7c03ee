#include "platform/ui/ListRowModel.h"

#include <algorithm>

namespace {
constexpr UINT kStateBits = LVIS_SELECTED | LVIS_FOCUSED;
}

int ListRowModel::InsertPosition(int row) const {
    return row < 0 ? -1 : std::min(row, RowCount());
}

int ListRowModel::InsertRow(int row, const std::string &text) {
    row = InsertPosition(row);
    if (row < 0) {
        return -1;
    }
    Row inserted;
    inserted.texts.assign(std::max<std::size_t>(m_columns.size(), 1), std::string());
    inserted.texts[0] = text;
    m_rows.insert(m_rows.begin() + row, std::move(inserted));
    return row;
}

bool ListRowModel::DeleteRow(int row) {
    if (!Exists(row)) {
        return false;
    }
    m_rows.erase(m_rows.begin() + row);
    return true;
}

std::string ListRowModel::Text(int row, int column) const {
    if (!Exists(row) || column < 0 || column >= static_cast<int>(m_rows[row].texts.size())) {
        return {};
    }
    return m_rows[row].texts[column];
}

bool ListRowModel::SetText(int row, int column, const std::string &text) {
    if (!Exists(row) || column < 0 || column >= std::max(ColumnCount(), 1)) {
        return false;
    }
    std::vector<std::string> &texts = m_rows[row].texts;
    if (column >= static_cast<int>(texts.size())) {
        texts.resize(column + 1);
    }
    texts[column] = text;
    return true;
}

bool ListRowModel::SetState(int row, UINT state, UINT mask) {
    if (!Exists(row)) {
        return false;
    }
    mask &= kStateBits;
    for (int i = 0; i < RowCount(); ++i) {
        if (i != row) {
            m_rows[i].state &= ~(mask & state);
        }
    }
    m_rows[row].state = (m_rows[row].state & ~mask) | (state & mask);
    return true;
}

UINT ListRowModel::State(int row, UINT mask) const {
    return Exists(row) ? m_rows[row].state & mask : 0;
}

int ListRowModel::RowWith(UINT bit) const {
    for (int i = 0; i < RowCount(); ++i) {
        if (m_rows[i].state & bit) {
            return i;
        }
    }
    return -1;
}

void ListRowModel::ClearState(UINT bit) {
    for (Row &row : m_rows) {
        row.state &= ~bit;
    }
}

bool ListRowModel::SetToolTip(int row, const std::string &text) {
    if (!Exists(row)) {
        return false;
    }
    m_rows[row].toolTip = text;
    return true;
}

std::string ListRowModel::ToolTip(int row) const {
    return Exists(row) ? m_rows[row].toolTip : std::string();
}

bool ListRowModel::SetTextColor(int row, COLORREF color) {
    if (!Exists(row)) {
        return false;
    }
    m_rows[row].textColor = color;
    return true;
}

COLORREF ListRowModel::TextColor(int row) const {
    return Exists(row) ? m_rows[row].textColor : CLR_DEFAULT;
}

int ListRowModel::InsertColumn(int column, const Column &format) {
    if (column < 0) {
        return -1;
    }
    column = std::min(column, ColumnCount());
    m_columns.insert(m_columns.begin() + column, format);
    for (Row &row : m_rows) {
        if (row.texts.size() < m_columns.size()) {
            row.texts.resize(m_columns.size());
        }
    }
    return column;
}

ListRowModel::Column ListRowModel::ColumnFormat(int column) const {
    return column >= 0 && column < ColumnCount() ? m_columns[column] : Column{};
}
