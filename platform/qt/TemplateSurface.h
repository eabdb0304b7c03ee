#pragma once

#include <QWidget>
#include <vector>

#include "platform/ui/DialogTemplate.h"

// The surface a dialog's controls sit on, at their template places in pixels. It is never smaller
// than the template; when it is larger, each control moves and grows by its share of the extra
// room (ControlGrowth), and Resized is emitted once the controls are in their new places.
class TemplateSurface : public QWidget {
    Q_OBJECT

public:
    // A surface of the template's size in pixels; it may grow beyond it when resizable.
    TemplateSurface(QSize templateSize, bool resizable, QWidget *parent);

    // Puts widget at `placed` (pixels at the template's size). A widget sized by its content
    // (a picture) only moves.
    void Place(QWidget *widget, const UiRect &placed, const ControlGrowth &growth,
               bool sizedByContent);

signals:
    void Resized();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Placed {
        QWidget *widget;
        UiRect placed;
        ControlGrowth growth;
        bool sizedByContent;
    };
    void Move(const Placed &control);

    QSize m_templateSize;
    std::vector<Placed> m_controls;
};
