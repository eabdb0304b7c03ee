#pragma once

#include <QImage>
#include <QWidget>

#include "platform/ui/CornerEditing.h"

// A photo scaled to fit the widget, with the sheet's outline and its four corners as round
// handles. A handle is taken by a press within reach of it and follows the mouse, held inside
// the photo; its moves and its letting go announce the new corners.
class CornerCanvas : public QWidget {
    Q_OBJECT

public:
    CornerCanvas(QImage photo, const CornerQuad &corners, QWidget *parent);

    const CornerQuad &Corners() const { return m_corners; }
    // Where corner i stands on the widget, for tests and for drawing.
    QPointF HandleAt(int i) const;

    QSize sizeHint() const override;

signals:
    // A handle being dragged has moved.
    void CornersMoved();
    // A handle was let go where it now stands.
    void CornersReleased();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // The rectangle the photo is drawn into, and widget points to photo pixels and back.
    QRectF PhotoRect() const;
    CornerPoint ToPhoto(const QPointF &at) const;

    QImage m_photo;
    CornerQuad m_corners;
    int m_dragged = -1; // the handle being dragged, -1 for none
};
