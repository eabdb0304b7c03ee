#pragma once

#include <string>
#include <vector>

#include "platform/ui/HeadlessWnd.h"
#include "platform/ui/ListCtrlPeer.h"
#include "platform/ui/ListRowModel.h"

// An in-memory report-view list with single selection. Besides the list operations it offers
// what a user does with the mouse and the keyboard, for tests.
class HeadlessListCtrl : public ListCtrlPeer {
public:
    HeadlessListCtrl(HeadlessToolkit &log, int id, UiRect clientRect);

    int GetItemCount() const override { return m_rows.RowCount(); }
    int InsertItem(int row, const std::string &text) override {
        return m_rows.InsertRow(row, text);
    }
    bool DeleteItem(int row) override { return m_rows.DeleteRow(row); }
    bool DeleteAllItems() override;
    std::string GetItemText(int row, int column) const override { return m_rows.Text(row, column); }
    bool SetItemText(int row, int column, const std::string &text) override {
        return m_rows.SetText(row, column, text);
    }
    bool SetItemState(int row, UINT state, UINT mask) override {
        return m_rows.SetState(row, state, mask);
    }
    UINT GetItemState(int row, UINT mask) const override { return m_rows.State(row, mask); }
    bool SetItemToolTip(int row, const std::string &text) override {
        return m_rows.SetToolTip(row, text);
    }
    std::string GetItemToolTip(int row) const override { return m_rows.ToolTip(row); }
    bool SetItemTextColor(int row, COLORREF color) override {
        return m_rows.SetTextColor(row, color);
    }
    COLORREF GetItemTextColor(int row) const override { return m_rows.TextColor(row); }

    int InsertColumn(int column, const std::string &heading, int format, int width) override {
        return m_rows.InsertColumn(column, {heading, format, width});
    }
    int GetColumnCount() const override { return m_rows.ColumnCount(); }
    std::string GetColumnHeading(int column) const override {
        return m_rows.ColumnFormat(column).heading;
    }
    int GetColumnWidth(int column) const override;

    void SetExtendedStyle(unsigned style) override { m_extendedStyle = style; }
    unsigned GetExtendedStyle() const override { return m_extendedStyle; }
    void SetBkColor(COLORREF color) override { m_bkColor = color; }
    void SetTextColor(COLORREF color) override { m_textColor = color; }
    void SetTextBkColor(COLORREF color) override { m_textBkColor = color; }
    void SetFont(const CFont &font) override;
    void SetImageList(const CImageList &images, int which) override;

    void SetWindowText(const std::string &text) override { m_wnd.SetWindowText(text); }
    std::string GetWindowText() const override { return m_wnd.GetWindowText(); }
    void SetCheck(bool checked) override { m_wnd.SetCheck(checked); }
    bool GetCheck() const override { return m_wnd.GetCheck(); }
    void EnableWindow(bool enable) override { m_wnd.EnableWindow(enable); }
    bool IsWindowEnabled() const override { return m_wnd.IsWindowEnabled(); }
    void SetFocus() override { m_wnd.SetFocus(); }
    bool HasFocus() const override { return m_wnd.HasFocus(); }
    void Invalidate(bool erase) override { m_wnd.Invalidate(erase); }
    void UpdateWindow() override { m_wnd.UpdateWindow(); }
    UiRect GetClientRect() const override { return m_wnd.GetClientRect(); }
    void SetClientRect(const UiRect &clientRect) { m_wnd.SetClientRect(clientRect); }

    // The user highlights a row by mouse or keyboard; -1 drops the highlight, as a click where
    // there is no row does.
    void UserHighlight(int row);
    int HighlightedRow() const { return m_rows.RowWith(LVIS_SELECTED); }

    COLORREF BkColor() const { return m_bkColor; }
    COLORREF TextColor() const { return m_textColor; }
    COLORREF TextBkColor() const { return m_textBkColor; }
    const std::string &FontFace() const { return m_fontFace; }
    int FontHeight() const { return m_fontHeight; }
    int SmallImageCount() const { return m_smallImages; }

private:
    HeadlessWnd m_wnd;
    ListRowModel m_rows;
    unsigned m_extendedStyle = 0;
    COLORREF m_bkColor = 0xFFFFFF;
    COLORREF m_textColor = 0;
    COLORREF m_textBkColor = 0xFFFFFF;
    std::string m_fontFace;
    int m_fontHeight = 0;
    int m_smallImages = -1; // no image list set
};
