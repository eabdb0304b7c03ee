#pragma once

#include <string>
#include <vector>

#include "platform/ui/UiDefs.h"

// The rows, columns and selection of a report-view list: the one model behind every list control
// peer (headless and on screen), so both keep the ListCtrlPeer contract the same way.
//
// A row holds one text per column, the state bits LVIS_SELECTED and LVIS_FOCUSED, a tool tip and
// a text colour. Column 0 always exists, also before any column was inserted: it is the item's
// own text. At most one row carries each state bit.
class ListRowModel {
public:
    struct Column {
        std::string heading;
        int format = 0;
        int width = 0;
    };

    int RowCount() const { return static_cast<int>(m_rows.size()); }
    bool Exists(int row) const { return row >= 0 && row < RowCount(); }

    // Where InsertRow(row) puts its row: row itself, the row count for any row past the end, -1
    // for a negative row.
    int InsertPosition(int row) const;
    // Inserts a row without state whose column 0 reads text; the rows at and after it move down
    // with their states. Returns the new row's index, or -1.
    int InsertRow(int row, const std::string &text);
    // Removes the row; the rows after it move up with their states. False for a missing row.
    bool DeleteRow(int row);
    void DeleteAllRows() { m_rows.clear(); }

    // Empty for a missing row or column.
    std::string Text(int row, int column) const;
    // False for a missing row or for a column that was never inserted (column 0 always exists).
    bool SetText(int row, int column, const std::string &text);

    // Sets the masked state bits of one row; a bit set here is cleared on every other row. False
    // (and nothing changes) for a missing row.
    bool SetState(int row, UINT state, UINT mask);
    UINT State(int row, UINT mask) const;
    // The row carrying the bit, or -1.
    int RowWith(UINT bit) const;
    // Clears the bit on every row.
    void ClearState(UINT bit);

    // A row's tool tip ("" for none) and text colour (CLR_DEFAULT for the list's own).
    bool SetToolTip(int row, const std::string &text);
    std::string ToolTip(int row) const;
    bool SetTextColor(int row, COLORREF color);
    COLORREF TextColor(int row) const;

    // Inserts a column at column (past the end appends); -1 for a negative column.
    int InsertColumn(int column, const Column &format);
    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    // The column's heading and width; empty and 0 for a missing column.
    Column ColumnFormat(int column) const;

private:
    struct Row {
        std::vector<std::string> texts; // one per column, at least one
        UINT state = 0;
        std::string toolTip;
        COLORREF textColor = CLR_DEFAULT;
    };

    std::vector<Row> m_rows;
    std::vector<Column> m_columns;
};
