#pragma once

#include <QStyledItemDelegate>

// Draws the list's rows. A row with a colour of its own (an unusable file's red) keeps showing it
// when selected: the selection is drawn in that colour, with white text, instead of the desktop's
// highlight, which would hide it.
class RowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
