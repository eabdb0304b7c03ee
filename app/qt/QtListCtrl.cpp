#include "app/qt/QtListCtrl.h"

#include <QContextMenuEvent>
#include <QFile>
#include <QHeaderView>
#include <QMouseEvent>

#include "platform/ui/CFont.h"

QtListCtrl::QtListCtrl(QWidget *parent) : QTableWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideMiddle);
    setTabKeyNavigation(false);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    verticalHeader()->hide();
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setStretchLastSection(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // The selection stays visible when the list does not have the focus.
    QPalette colors = palette();
    colors.setColor(QPalette::Inactive, QPalette::Highlight,
                    colors.color(QPalette::Active, QPalette::Highlight));
    colors.setColor(QPalette::Inactive, QPalette::HighlightedText,
                    colors.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colors);
}

namespace {
// Each cell keeps its text as the bytes it was given: a file name that is not valid UTF-8 still
// comes back unchanged, while the screen shows it as well as it can.
constexpr int kBytesRole = Qt::UserRole;

void StoreText(QTableWidgetItem *cell, const std::string &text) {
    cell->setText(QFile::decodeName(QByteArray::fromStdString(text)));
    cell->setData(kBytesRole, QByteArray::fromStdString(text));
}
} // namespace

QTableWidgetItem *QtListCtrl::MakeItem(const std::string &text) const {
    auto *item = new QTableWidgetItem();
    StoreText(item, text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

int QtListCtrl::InsertItem(int row, const std::string &text) {
    if (row < 0) {
        return -1;
    }
    row = std::min(row, rowCount());
    insertRow(row);
    setItem(row, 0, MakeItem(text));
    for (int column = 1; column < columnCount(); ++column) {
        setItem(row, column, MakeItem(""));
    }
    return row;
}

bool QtListCtrl::DeleteItem(int row) {
    if (!Exists(row)) {
        return false;
    }
    // Qt hands the current row's selection on to a neighbour when the row goes; the list's rows
    // keep their own states instead, so the row leaves without being current.
    if (currentIndex().row() == row) {
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    removeRow(row);
    return true;
}

bool QtListCtrl::DeleteAllItems() {
    setRowCount(0);
    return true;
}

std::string QtListCtrl::GetItemText(int row, int column) const {
    const QTableWidgetItem *cell = Exists(row) ? item(row, column) : nullptr;
    return cell ? cell->data(kBytesRole).toByteArray().toStdString() : std::string();
}

bool QtListCtrl::SetItemText(int row, int column, const std::string &text) {
    if (!Exists(row) || column < 0 || column >= columnCount()) {
        return false;
    }
    if (QTableWidgetItem *cell = item(row, column)) {
        StoreText(cell, text);
    } else {
        setItem(row, column, MakeItem(text));
    }
    return true;
}

bool QtListCtrl::SetItemState(int row, UINT state, UINT mask) {
    if (!Exists(row)) {
        return false;
    }
    const QModelIndex index = model()->index(row, 0);
    if (mask & LVIS_FOCUSED) {
        if (state & LVIS_FOCUSED) {
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
            scrollTo(index);
        } else if (currentIndex().row() == row) {
            selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        }
    }
    if (mask & LVIS_SELECTED) {
        selectionModel()->select(
            index, (state & LVIS_SELECTED)
                       ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                       : QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
    return true;
}

UINT QtListCtrl::GetItemState(int row, UINT mask) const {
    if (!Exists(row)) {
        return 0;
    }
    UINT state = 0;
    if (selectionModel()->isRowSelected(row, QModelIndex()) ||
        selectionModel()->isSelected(model()->index(row, 0))) {
        state |= LVIS_SELECTED;
    }
    if (currentIndex().isValid() && currentIndex().row() == row) {
        state |= LVIS_FOCUSED;
    }
    return state & mask;
}

int QtListCtrl::InsertColumn(int column, const std::string &heading, int /*format*/, int width) {
    if (column < 0) {
        return -1;
    }
    column = std::min(column, columnCount());
    insertColumn(column);
    auto *header = new QTableWidgetItem(QString::fromStdString(heading));
    header->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setHorizontalHeaderItem(column, header);
    setColumnWidth(column, width);
    for (int row = 0; row < rowCount(); ++row) {
        setItem(row, column, MakeItem(""));
    }
    return column;
}

std::string QtListCtrl::GetColumnHeading(int column) const {
    const QTableWidgetItem *header = horizontalHeaderItem(column);
    return header ? header->text().toStdString() : std::string();
}

void QtListCtrl::SetExtendedStyle(unsigned style) {
    m_extendedStyle = style;
    setShowGrid((style & LVS_EX_GRIDLINES) != 0);
    setSelectionBehavior((style & LVS_EX_FULLROWSELECT) ? QAbstractItemView::SelectRows
                                                        : QAbstractItemView::SelectItems);
}

void QtListCtrl::SetColor(QPalette::ColorRole role, COLORREF color) {
    QPalette colors = palette();
    colors.setColor(role, QColor(static_cast<int>(ui::GetRValue(color)),
                                 static_cast<int>(ui::GetGValue(color)),
                                 static_cast<int>(ui::GetBValue(color))));
    setPalette(colors);
}

void QtListCtrl::SetBkColor(COLORREF color) {
    SetColor(QPalette::Base, color);
}

void QtListCtrl::SetTextColor(COLORREF color) {
    SetColor(QPalette::Text, color);
}

void QtListCtrl::SetTextBkColor(COLORREF color) {
    SetColor(QPalette::AlternateBase, color);
}

void QtListCtrl::SetFont(const CFont &font) {
    QFont face = QWidget::font();
    // The requested face first; Chinese file names fall back to the CJK face of the window.
    face.setFamilies({QString::fromStdString(font.FaceName()), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Noto Sans CJK SC")});
    // A positive height is the cell height; the em is about seven eighths of it.
    const int cell = std::abs(font.Height());
    face.setPixelSize(font.Height() > 0 ? std::max(1, cell * 7 / 8) : std::max(1, cell));
    face.setWeight(font.Weight() >= 700 ? QFont::Bold : QFont::Normal);
    face.setItalic(font.Italic());
    QWidget::setFont(face);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(face).height() + 4);
}

void QtListCtrl::SetImageList(const CImageList & /*images*/, int /*which*/) {
    // Rows show no icons: the program's row icon is not among its resources.
}

UiRect QtListCtrl::GetClientRect() const {
    return UiRect{0, 0, viewport()->width(), viewport()->height()};
}

void QtListCtrl::mousePressEvent(QMouseEvent *event) {
    QTableWidget::mousePressEvent(event);
    if (!indexAt(event->position().toPoint()).isValid()) {
        clearSelection();
    }
}

void QtListCtrl::mouseReleaseEvent(QMouseEvent *event) {
    QTableWidget::mouseReleaseEvent(event);
    if (m_swallowRelease) {
        m_swallowRelease = false;
        return;
    }
    if (event->button() == Qt::LeftButton) {
        emit Notified(NM_CLICK);
    }
}

void QtListCtrl::mouseDoubleClickEvent(QMouseEvent *event) {
    QTableWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        // The release that ends a double click is not another click.
        m_swallowRelease = true;
        emit Notified(NM_DBLCLK);
    }
}

void QtListCtrl::contextMenuEvent(QContextMenuEvent *event) {
    event->accept();
    emit Notified(NM_RCLICK);
}
