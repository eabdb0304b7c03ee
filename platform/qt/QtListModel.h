#pragma once

#include <QAbstractTableModel>
#include <string>

#include "platform/ui/ListRowModel.h"

// The list's rows as a Qt item model: a ListRowModel (the rows, columns and states every list
// peer shares) whose changes are announced to the views that show it. Texts keep their bytes; the
// screen shows them decoded as file names.
class QtListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    const ListRowModel &Rows() const { return m_rows; }
    // State bits do not show through the model (the view's selection does), so they change here.
    ListRowModel &States() { return m_rows; }

    int InsertRow(int row, const std::string &text);
    bool DeleteRow(int row);
    void DeleteAllRows();
    bool SetText(int row, int column, const std::string &text);
    bool SetToolTip(int row, const std::string &text);
    bool SetTextColor(int row, COLORREF color);
    int InsertColumn(int column, const ListRowModel::Column &format);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;

    // The MIME type of a row dragged within a list.
    static QString RowMimeType();

private:
    void RowChanged(int row);

    ListRowModel m_rows;
};
