#pragma once

#include <string>

#include "platform/ui/UiDefs.h"
#include "platform/ui/WndPeer.h"

class CFont;
class CImageList;

// The report-view list control behind a CListCtrl. Rows hold one text per column and the two
// state bits LVIS_SELECTED and LVIS_FOCUSED; at most one row carries each bit.
//
// Contract every implementation keeps:
// - InsertItem(row, text) inserts at row (row == count appends, row > count appends too) and
//   returns the new row's index, or -1 for a negative row. The new row has no state; the rows at
//   and after it move down with their states.
// - DeleteItem(row) removes the row; the rows after it move up with their states. False when the
//   row does not exist.
// - GetItemText of a row or column that does not exist is empty; SetItemText on one is false.
// - SetItemState on a row that does not exist does nothing and is false. Setting a bit on one row
//   clears it on every other row.
class ListCtrlPeer : public WndPeer {
public:
    virtual int GetItemCount() const = 0;
    virtual int InsertItem(int row, const std::string &text) = 0;
    virtual bool DeleteItem(int row) = 0;
    virtual bool DeleteAllItems() = 0;
    virtual std::string GetItemText(int row, int column) const = 0;
    virtual bool SetItemText(int row, int column, const std::string &text) = 0;
    virtual bool SetItemState(int row, UINT state, UINT mask) = 0;
    virtual UINT GetItemState(int row, UINT mask) const = 0;

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
