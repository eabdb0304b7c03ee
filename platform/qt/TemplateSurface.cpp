#include "platform/qt/TemplateSurface.h"

TemplateSurface::TemplateSurface(QSize templateSize, bool resizable, QWidget *parent)
    : QWidget(parent), m_templateSize(templateSize) {
    if (resizable) {
        setMinimumSize(templateSize);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        resize(templateSize);
    } else {
        setFixedSize(templateSize);
    }
}

void TemplateSurface::Place(QWidget *widget, const UiRect &placed, const ControlGrowth &growth,
                            bool sizedByContent) {
    m_controls.push_back(Placed{widget, placed, growth, sizedByContent});
    Move(m_controls.back());
}

void TemplateSurface::Move(const Placed &control) {
    const int extraWidth = std::max(0, width() - m_templateSize.width());
    const int extraHeight = std::max(0, height() - m_templateSize.height());
    const UiRect rect = GrowRect(control.placed, control.growth, extraWidth, extraHeight);
    if (control.sizedByContent) {
        control.widget->move(rect.left, rect.top);
    } else {
        control.widget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    }
}

void TemplateSurface::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    for (const Placed &control : m_controls) {
        Move(control);
    }
    emit Resized();
}
