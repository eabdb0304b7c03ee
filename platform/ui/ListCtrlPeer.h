#pragma once

#include <string>

#include "platform/ui/UiDefs.h"
#include "platform/ui/WndPeer.h"

class CFont;
class CImageList;

// The report-view list control behind a CListCtrl. Rows hold one text per column, the two state
// bits LVIS_SELECTED and LVIS_FOCUSED (at most one row carries each), a tool tip and a text
// colour. Every implementation keeps its rows in a ListRowModel, whose contract it shares:
// - InsertItem(row, text) inserts at row (row == count appends, row > count appends too) and
//   returns the new row's index, or -1 for a negative row. The new row has no state, no tool tip
//   and the list's text colour; the rows at and after it move down with all they carry.
// - DeleteItem(row) removes the row; the rows after it move up with their states. False when the
//   row does not exist.
// - Column 0 is the item's own text and exists before any column is inserted. GetItemText of a
//   row or column that does not exist is empty; SetItemText on one is false.
// - SetItemState on a row that does not exist does nothing and is false. Setting a bit on one row
//   clears it on every other row.
// - What the user does with the mouse and the keyboard reaches GetItemState at once: the
//   highlighted row carries LVIS_SELECTED, the row with the keyboard focus LVIS_FOCUSED.
// - The columns before the last keep the width they were made with; the last column takes the
//   rest of the client width, after every new column and every resize of the list, so that the
//   columns end at the list's right edge. It never becomes narrower than kLeastLastColumnWidth.
//   GetColumnWidth reports the width shown.
class ListCtrlPeer : public WndPeer {
public:
    static constexpr int kLeastLastColumnWidth = 24;

    virtual int GetItemCount() const = 0;
    virtual int InsertItem(int row, const std::string &text) = 0;
    virtual bool DeleteItem(int row) = 0;
    virtual bool DeleteAllItems() = 0;
    virtual std::string GetItemText(int row, int column) const = 0;
    virtual bool SetItemText(int row, int column, const std::string &text) = 0;
    virtual bool SetItemState(int row, UINT state, UINT mask) = 0;
    virtual UINT GetItemState(int row, UINT mask) const = 0;
    virtual bool SetItemToolTip(int row, const std::string &text) = 0;
    virtual std::string GetItemToolTip(int row) const = 0;
    virtual bool SetItemTextColor(int row, COLORREF color) = 0;
    virtual COLORREF GetItemTextColor(int row) const = 0;

    virtual int InsertColumn(int column, const std::string &heading, int format, int width) = 0;
    virtual int GetColumnCount() const = 0;
    virtual std::string GetColumnHeading(int column) const = 0;
    virtual int GetColumnWidth(int column) const = 0;

    virtual void SetExtendedStyle(unsigned style) = 0;
    virtual unsigned GetExtendedStyle() const = 0;
    virtual void SetBkColor(COLORREF color) = 0;
    virtual void SetTextColor(COLORREF color) = 0;
    virtual void SetTextBkColor(COLORREF color) = 0;
    virtual void SetFont(const CFont &font) = 0;
    virtual void SetImageList(const CImageList &images, int which) = 0;
};
