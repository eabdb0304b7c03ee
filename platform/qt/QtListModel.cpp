#include "platform/qt/QtListModel.h"

#include <QColor>
#include <QFile>
#include <QFontMetrics>
#include <QMimeData>
#include <QToolTip>

namespace {

// Tool tips are one line as long as the text; a reason that names a long path would run off the
// screen. A tip wider than about 80 characters becomes rich text, which the tool tip wraps at
// that width; a zero-width space after each '/' lets a long path break between its folders.
QString WrappedToolTip(const std::string &tip) {
    const QString text = QString::fromStdString(tip);
    const QFontMetrics metrics(QToolTip::font());
    if (metrics.horizontalAdvance(text) <= 80 * metrics.averageCharWidth() &&
        !text.contains(QLatin1Char('\n'))) {
        return text;
    }
    QString breakable = text.toHtmlEscaped();
    breakable.replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
    return QStringLiteral("<p style=\"white-space:pre-wrap\">") + breakable +
           QStringLiteral("</p>");
}

} // namespace

int QtListModel::InsertRow(int row, const std::string &text) {
    const int at = m_rows.InsertPosition(row);
    if (at < 0) {
        return -1;
    }
    beginInsertRows(QModelIndex(), at, at);
    m_rows.InsertRow(at, text);
    endInsertRows();
    return at;
}

bool QtListModel::DeleteRow(int row) {
    if (!m_rows.Exists(row)) {
        return false;
    }
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.DeleteRow(row);
    endRemoveRows();
    return true;
}

void QtListModel::DeleteAllRows() {
    beginResetModel();
    m_rows.DeleteAllRows();
    endResetModel();
}

bool QtListModel::SetText(int row, int column, const std::string &text) {
    if (!m_rows.SetText(row, column, text)) {
        return false;
    }
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell);
    return true;
}

bool QtListModel::SetToolTip(int row, const std::string &text) {
    if (!m_rows.SetToolTip(row, text)) {
        return false;
    }
    RowChanged(row);
    return true;
}

bool QtListModel::SetTextColor(int row, COLORREF color) {
    if (!m_rows.SetTextColor(row, color)) {
        return false;
    }
    RowChanged(row);
    return true;
}

void QtListModel::RowChanged(int row) {
    if (columnCount() > 0) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
}

int QtListModel::InsertColumn(int column, const ListRowModel::Column &format) {
    if (column < 0) {
        return -1;
    }
    const int at = std::min(column, m_rows.ColumnCount());
    beginInsertColumns(QModelIndex(), at, at);
    m_rows.InsertColumn(at, format);
    endInsertColumns();
    return at;
}

int QtListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows.RowCount();
}

int QtListModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows.ColumnCount();
}

QVariant QtListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return QFile::decodeName(
            QByteArray::fromStdString(m_rows.Text(index.row(), index.column())));
    case Qt::ToolTipRole: {
        const std::string tip = m_rows.ToolTip(index.row());
        return tip.empty() ? QVariant() : QVariant(WrappedToolTip(tip));
    }
    case Qt::ForegroundRole: {
        const COLORREF color = m_rows.TextColor(index.row());
        if (color == CLR_DEFAULT) {
            return {};
        }
        return QColor(static_cast<int>(ui::GetRValue(color)),
                      static_cast<int>(ui::GetGValue(color)),
                      static_cast<int>(ui::GetBValue(color)));
    }
    default:
        return {};
    }
}

QVariant QtListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return QString::fromStdString(m_rows.ColumnFormat(section).heading);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }
    return {};
}

Qt::ItemFlags QtListModel::flags(const QModelIndex &index) const {
    if (!index.isValid()) {
        return Qt::ItemIsDropEnabled;
    }
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
}

Qt::DropActions QtListModel::supportedDropActions() const {
    return Qt::CopyAction | Qt::MoveAction;
}

QString QtListModel::RowMimeType() {
    return QStringLiteral("application/x-folvane-list-row");
}

QStringList QtListModel::mimeTypes() const {
    return {RowMimeType(), QStringLiteral("text/uri-list")};
}

bool QtListModel::canDropMimeData(const QMimeData *data, Qt::DropAction /*action*/, int /*row*/,
                                  int /*column*/, const QModelIndex & /*parent*/) const {
    return data && (data->hasFormat(RowMimeType()) || data->hasUrls());
}
