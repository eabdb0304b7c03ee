#pragma once

#include <string>

#include "platform/ui/CWnd.h"
#include "platform/ui/UiDefs.h"

class CFont;
class CImageList;
class ListCtrlPeer;

// A report-view list control (see ListCtrlPeer for the behaviour of each operation). While it
// is not attached to a window it behaves as an empty list that refuses every change.
class CListCtrl : public CWnd {
public:
    void Attach(ListCtrlPeer *peer);
    void Detach() override;

    int GetItemCount() const;
    int InsertItem(int row, const std::string &text);
    bool DeleteItem(int row);
    bool DeleteAllItems();
    std::string GetItemText(int row, int column) const;
    bool SetItemText(int row, int column, const std::string &text);
    bool SetItemState(int row, UINT state, UINT mask);
    UINT GetItemState(int row, UINT mask) const;
    // The tool tip shown over a row ("" for none) and its text colour (CLR_DEFAULT: the list's).
    bool SetItemToolTip(int row, const std::string &text);
    std::string GetItemToolTip(int row) const;
    bool SetItemTextColor(int row, COLORREF color);
    COLORREF GetItemTextColor(int row) const;
    // The first selected row as a position (0 when none); GetNextSelectedItem turns a position
    // into its row and moves it on to the next selected row.
    POSITION GetFirstSelectedItemPosition() const;
    int GetNextSelectedItem(POSITION &position) const;

    int InsertColumn(int column, const std::string &heading, int format, int width);
    void SetExtendedStyle(unsigned style);
    unsigned GetExtendedStyle() const;
    void SetBkColor(COLORREF color);
    void SetTextColor(COLORREF color);
    void SetTextBkColor(COLORREF color);
    void SetFont(const CFont &font);
    void SetImageList(const CImageList &images, int which);

private:
    POSITION NextSelectedFrom(int row) const;

    ListCtrlPeer *m_list = nullptr;
};
