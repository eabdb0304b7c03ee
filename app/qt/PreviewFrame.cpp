#include "app/qt/PreviewFrame.h"

#include <QPainter>

PreviewFrame::PreviewFrame(QWidget *parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setLineWidth(1);
}

void PreviewFrame::paintEvent(QPaintEvent *event) {
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), palette().color(QPalette::Base));
    }
    QFrame::paintEvent(event);
}
