#pragma once

#include <QTableView>
#include <string>
#include <vector>

#include "platform/qt/QtListModel.h"
#include "platform/ui/ListCtrlPeer.h"

// The image list on screen: a report view with single full-row selection over a QtListModel. The
// selected row carries LVIS_SELECTED, the current row LVIS_FOCUSED. Mouse clicks, double clicks
// and right clicks are announced as NM_CLICK, NM_DBLCLK and NM_RCLICK; a click where there is no
// row drops the selection first, a right click on a row selects it first. The last column takes
// the width the list grows by beyond its width when the columns were made. A highlight moved by the
// keyboard is announced as LVN_ITEMCHANGED. A row dragged within the list is announced as
// LVN_ROWDRAGGED (the list itself does not move it); files and folders dropped on it as
// FilesDropped.
class QtListCtrl : public QTableView, public ListCtrlPeer {
    Q_OBJECT

public:
    explicit QtListCtrl(QWidget *parent = nullptr);

    int GetItemCount() const override { return m_model.Rows().RowCount(); }
    int InsertItem(int row, const std::string &text) override;
    bool DeleteItem(int row) override;
    bool DeleteAllItems() override;
    std::string GetItemText(int row, int column) const override;
    bool SetItemText(int row, int column, const std::string &text) override;
    bool SetItemState(int row, UINT state, UINT mask) override;
    UINT GetItemState(int row, UINT mask) const override;
    bool SetItemToolTip(int row, const std::string &text) override;
    std::string GetItemToolTip(int row) const override;
    bool SetItemTextColor(int row, COLORREF color) override;
    COLORREF GetItemTextColor(int row) const override;

    int InsertColumn(int column, const std::string &heading, int format, int width) override;
    int GetColumnCount() const override { return m_model.Rows().ColumnCount(); }
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

    // What a drag of row carries, recognised only by the list it came from.
    QMimeData *RowDragData(int row) const;

signals:
    void Notified(int code, int item, int target);
    void FilesDropped(const std::vector<std::string> &paths);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // Shows the model's selected and focused rows in the view.
    void ShowStates();
    // Takes the user's selection and current row from the view into the model.
    void TakeUserStates();
    void SetColor(QPalette::ColorRole role, COLORREF color);
    void FitLastColumn();
    // The row a drag of this list carries, or -1 for anything else.
    int DraggedRow(const QMimeData *mime) const;
    // Where a row dropped at position goes: the index it takes among the rows before the drop.
    int DropPosition(QPoint position) const;

    QtListModel m_model;
    unsigned m_extendedStyle = 0;
    bool m_showing = false;     // the view is being set from the model
    bool m_mouseActive = false; // a mouse handler runs: the click notifications follow
    bool m_swallowRelease = false;
};
