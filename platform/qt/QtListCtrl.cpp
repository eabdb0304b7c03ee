#include "platform/qt/QtListCtrl.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QFile>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

#include "platform/qt/RowDelegate.h"
#include "platform/ui/CFont.h"

namespace {

// Runs a change of the model with the view's own reactions to it ignored, then shows the model's
// states again: Qt hands the selection of a removed row on to a neighbour, the list does not.
template <class Change> auto Quietly(bool &showing, Change change) {
    showing = true;
    auto result = change();
    showing = false;
    return result;
}

} // namespace

QtListCtrl::QtListCtrl(QWidget *parent) : QTableView(parent), m_model(this) {
    setModel(&m_model);
    setItemDelegate(new RowDelegate(this));
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
    horizontalHeader()->setMinimumSectionSize(kLeastLastColumnWidth);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(true);
    // The selection stays visible when the list does not have the focus.
    QPalette colors = palette();
    colors.setColor(QPalette::Inactive, QPalette::Highlight,
                    colors.color(QPalette::Active, QPalette::Highlight));
    colors.setColor(QPalette::Inactive, QPalette::HighlightedText,
                    colors.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colors);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { TakeUserStates(); });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { TakeUserStates(); });
    // A column before the last widened or narrowed by the user gives or takes the last one's width.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
        if (column < m_model.Rows().ColumnCount() - 1) {
            FitLastColumn();
        }
    });
}

int QtListCtrl::InsertItem(int row, const std::string &text) {
    const int inserted = Quietly(m_showing, [&] { return m_model.InsertRow(row, text); });
    ShowStates();
    return inserted;
}

bool QtListCtrl::DeleteItem(int row) {
    const bool deleted = Quietly(m_showing, [&] { return m_model.DeleteRow(row); });
    ShowStates();
    return deleted;
}

bool QtListCtrl::DeleteAllItems() {
    Quietly(m_showing, [&] {
        m_model.DeleteAllRows();
        return true;
    });
    ShowStates();
    return true;
}

std::string QtListCtrl::GetItemText(int row, int column) const {
    return m_model.Rows().Text(row, column);
}

bool QtListCtrl::SetItemText(int row, int column, const std::string &text) {
    return m_model.SetText(row, column, text);
}

bool QtListCtrl::SetItemState(int row, UINT state, UINT mask) {
    if (!m_model.States().SetState(row, state, mask)) {
        return false;
    }
    ShowStates();
    if (state & mask & LVIS_FOCUSED) {
        scrollTo(m_model.index(row, 0));
    }
    return true;
}

UINT QtListCtrl::GetItemState(int row, UINT mask) const {
    return m_model.Rows().State(row, mask);
}

bool QtListCtrl::SetItemToolTip(int row, const std::string &text) {
    return m_model.SetToolTip(row, text);
}

std::string QtListCtrl::GetItemToolTip(int row) const {
    return m_model.Rows().ToolTip(row);
}

bool QtListCtrl::SetItemTextColor(int row, COLORREF color) {
    return m_model.SetTextColor(row, color);
}

COLORREF QtListCtrl::GetItemTextColor(int row) const {
    return m_model.Rows().TextColor(row);
}

void QtListCtrl::ShowStates() {
    const ListRowModel &rows = m_model.Rows();
    const int focused = rows.RowWith(LVIS_FOCUSED);
    const int selected = rows.RowWith(LVIS_SELECTED);
    Quietly(m_showing, [&] {
        selectionModel()->setCurrentIndex(focused < 0 ? QModelIndex() : m_model.index(focused, 0),
                                          QItemSelectionModel::NoUpdate);
        if (selected < 0) {
            selectionModel()->clearSelection();
        } else {
            selectionModel()->select(m_model.index(selected, 0),
                                     QItemSelectionModel::ClearAndSelect |
                                         QItemSelectionModel::Rows);
        }
        return true;
    });
}

void QtListCtrl::TakeUserStates() {
    if (m_showing) {
        return;
    }
    int selected = -1;
    for (const QModelIndex &index : selectionModel()->selectedIndexes()) {
        selected = selected < 0 ? index.row() : std::min(selected, index.row());
    }
    ListRowModel &rows = m_model.States();
    const int before = rows.RowWith(LVIS_SELECTED);
    rows.ClearState(LVIS_SELECTED | LVIS_FOCUSED);
    rows.SetState(selected, LVIS_SELECTED, LVIS_SELECTED);
    rows.SetState(currentIndex().row(), LVIS_FOCUSED, LVIS_FOCUSED);
    // Mouse handlers announce their clicks themselves once the button is released.
    if (!m_mouseActive && selected != before) {
        emit Notified(LVN_ITEMCHANGED, selected, -1);
    }
}

int QtListCtrl::InsertColumn(int column, const std::string &heading, int format, int width) {
    const int inserted = m_model.InsertColumn(column, {heading, format, width});
    if (inserted >= 0) {
        // The column that was last until now gives back the width it took to fill the list.
        for (int column = 0; column < m_model.Rows().ColumnCount(); ++column) {
            setColumnWidth(column, m_model.Rows().ColumnFormat(column).width);
        }
        FitLastColumn();
    }
    return inserted;
}

void QtListCtrl::FitLastColumn() {
    const int last = m_model.Rows().ColumnCount() - 1;
    if (last < 0) {
        return;
    }
    int rest = viewport()->width();
    for (int before = 0; before < last; ++before) {
        rest -= columnWidth(before);
    }
    setColumnWidth(last, std::max(rest, kLeastLastColumnWidth));
}

void QtListCtrl::resizeEvent(QResizeEvent *event) {
    QTableView::resizeEvent(event);
    FitLastColumn();
}

std::string QtListCtrl::GetColumnHeading(int column) const {
    return m_model.Rows().ColumnFormat(column).heading;
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
    // A right click on a row highlights it, so that the context menu acts on the row under the
    // pointer (announced with the NM_RCLICK that follows); on empty space it leaves the highlight.
    if (event->button() == Qt::RightButton) {
        const QModelIndex under = indexAt(event->position().toPoint());
        if (under.isValid()) {
            m_mouseActive = true;
            selectionModel()->setCurrentIndex(under, QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
            m_mouseActive = false;
        }
        event->accept();
        return;
    }
    m_mouseActive = true;
    QTableView::mousePressEvent(event);
    if (!indexAt(event->position().toPoint()).isValid()) {
        clearSelection();
    }
    m_mouseActive = false;
}

void QtListCtrl::mouseMoveEvent(QMouseEvent *event) {
    m_mouseActive = true;
    QTableView::mouseMoveEvent(event);
    m_mouseActive = false;
}

void QtListCtrl::mouseReleaseEvent(QMouseEvent *event) {
    m_mouseActive = true;
    QTableView::mouseReleaseEvent(event);
    m_mouseActive = false;
    if (m_swallowRelease) {
        m_swallowRelease = false;
        return;
    }
    if (event->button() == Qt::LeftButton) {
        emit Notified(NM_CLICK, -1, -1);
    }
}

void QtListCtrl::mouseDoubleClickEvent(QMouseEvent *event) {
    m_mouseActive = true;
    QTableView::mouseDoubleClickEvent(event);
    m_mouseActive = false;
    if (event->button() == Qt::LeftButton) {
        // The release that ends a double click is not another click.
        m_swallowRelease = true;
        emit Notified(NM_DBLCLK, -1, -1);
    }
}

void QtListCtrl::contextMenuEvent(QContextMenuEvent *event) {
    event->accept();
    emit Notified(NM_RCLICK, -1, -1);
}

QMimeData *QtListCtrl::RowDragData(int row) const {
    auto *dragged = new QMimeData();
    const QString tag = QStringLiteral("%1:%2:%3")
                            .arg(QApplication::applicationPid())
                            .arg(reinterpret_cast<quintptr>(this))
                            .arg(row);
    dragged->setData(QtListModel::RowMimeType(), tag.toUtf8());
    return dragged;
}

int QtListCtrl::DraggedRow(const QMimeData *mime) const {
    if (!mime || !mime->hasFormat(QtListModel::RowMimeType())) {
        return -1;
    }
    const QStringList parts = QString::fromUtf8(mime->data(QtListModel::RowMimeType())).split(':');
    if (parts.size() != 3 || parts[0].toLongLong() != QApplication::applicationPid() ||
        parts[1].toULongLong() != reinterpret_cast<quintptr>(this)) {
        return -1;
    }
    bool ok = false;
    const int row = parts[2].toInt(&ok);
    return ok && m_model.Rows().Exists(row) ? row : -1;
}

void QtListCtrl::startDrag(Qt::DropActions /*supportedActions*/) {
    const int row = m_model.Rows().RowWith(LVIS_SELECTED);
    if (row < 0) {
        return;
    }
    // The drop is announced and the dialog moves the row; the view must not remove it itself.
    auto *drag = new QDrag(this);
    drag->setMimeData(RowDragData(row));
    drag->exec(Qt::MoveAction);
}

void QtListCtrl::dragEnterEvent(QDragEnterEvent *event) {
    if (DraggedRow(event->mimeData()) < 0 && !event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    QTableView::dragEnterEvent(event);
    event->acceptProposedAction();
}

int QtListCtrl::DropPosition(QPoint position) const {
    const QModelIndex under = indexAt(position);
    if (!under.isValid()) {
        return m_model.Rows().RowCount();
    }
    const QRect rect = visualRect(under);
    return position.y() < rect.center().y() ? under.row() : under.row() + 1;
}

void QtListCtrl::dropEvent(QDropEvent *event) {
    // The view's own drop handling would move rows in the model; here the owner decides.
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
    const QMimeData *mime = event->mimeData();
    const int from = DraggedRow(mime);
    if (from >= 0) {
        const int before = DropPosition(event->position().toPoint());
        const int to = before > from ? before - 1 : before;
        event->setDropAction(Qt::MoveAction);
        event->accept();
        if (to != from) {
            emit Notified(LVN_ROWDRAGGED, from, to);
        }
        return;
    }
    std::vector<std::string> paths;
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile()) {
            paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
        }
    }
    if (paths.empty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit FilesDropped(paths);
}
