#pragma once

#include <QTableWidget>

#include "platform/ui/ListCtrlPeer.h"

// The image list on screen: a report view with single full-row selection. The selected row
// carries LVIS_SELECTED, the current row LVIS_FOCUSED. Mouse clicks, double clicks and right
// clicks are announced as NM_CLICK, NM_DBLCLK and NM_RCLICK; a click where there is no row
// drops the selection first. The keyboard moves the selection without a notification.
class QtListCtrl : public QTableWidget, public ListCtrlPeer {
    Q_OBJECT

public:
    explicit QtListCtrl(QWidget *parent = nullptr);

    int GetItemCount() const override { return rowCount(); }
    int InsertItem(int row, const std::string &text) override;
    bool DeleteItem(int row) override;
    bool DeleteAllItems() override;
    std::string GetItemText(int row, int column) const override;
    bool SetItemText(int row, int column, const std::string &text) override;
    bool SetItemState(int row, UINT state, UINT mask) override;
    UINT GetItemState(int row, UINT mask) const override;

    int InsertColumn(int column, const std::string &heading, int format, int width) override;
    int GetColumnCount() const override { return columnCount(); }
    std::string GetColumnHeading(int column) const override;
    int GetColumnWidth(int column) const override { return columnWidth(column); }

    void SetExtendedStyle(unsigned style) override;
    unsigned GetExtendedStyle() const override { return m_extendedStyle; }
    void SetBkColor(COLORREF color) override;
    void SetTextColor(COLORREF color) override;
    void SetTextBkColor(COLORREF color) override;
    void SetFont(const CFont &font) override;
    void SetImageList(const CImageList &images, int which) override;

    void SetWindowText(const std::string &) override {}
    std::string GetWindowText() const override { return {}; }
    void SetCheck(bool) override {}
    bool GetCheck() const override { return false; }
    void EnableWindow(bool enable) override { setEnabled(enable); }
    bool IsWindowEnabled() const override { return isEnabled(); }
    void SetFocus() override { setFocus(Qt::OtherFocusReason); }
    bool HasFocus() const override { return hasFocus(); }
    void Invalidate(bool) override { viewport()->update(); }
    void UpdateWindow() override { viewport()->repaint(); }
    UiRect GetClientRect() const override;

signals:
    void Notified(int code);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    bool Exists(int row) const { return row >= 0 && row < rowCount(); }
    QTableWidgetItem *MakeItem(const std::string &text) const;
    void SetColor(QPalette::ColorRole role, COLORREF color);

    unsigned m_extendedStyle = 0;
    bool m_swallowRelease = false;
};
