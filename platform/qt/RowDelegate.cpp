#include "platform/qt/RowDelegate.h"

#include <QColor>

void RowDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const QVariant colour = index.data(Qt::ForegroundRole);
    if (!(option->state & QStyle::State_Selected) || !colour.canConvert<QColor>()) {
        return;
    }
    option->palette.setColor(QPalette::Highlight, colour.value<QColor>());
    option->palette.setColor(QPalette::HighlightedText, QColor(Qt::white));
}
