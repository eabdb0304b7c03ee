#pragma once

#include <QImage>
#include <QWidget>

#include "platform/ui/CropEditing.h"

// A page scaled to fit the widget, the part outside the crop rectangle dimmed, the rectangle's
// corners and the middles of its edges as square handles. A press on a handle drags that corner
// or edge, a press inside the rectangle drags the whole of it, always within the page. The arrow
// keys move what was taken last (the whole rectangle at first) by one pixel of the page, ten with
// Shift.
class CropCanvas : public QWidget {
    Q_OBJECT

public:
    // The handles, clockwise from the top-left corner, and the whole rectangle.
    enum Grip { TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left, Whole };

    CropCanvas(QImage page, const CropBox &crop, QWidget *parent);

    const CropBox &Crop() const { return m_crop; }
    void SetCrop(const CropBox &crop);
    // Where handle grip stands on the widget, for tests and for drawing.
    QPointF HandleAt(Grip grip) const;

    QSize sizeHint() const override;

signals:
    void CropChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The rectangle the page is drawn into; widget points to page pixels.
    QRectF PageRect() const;
    double Scale() const;
    QPointF ToPage(const QPointF &at) const;
    // `from` with grip moved by dx, dy page pixels, kept inside the page and uncrossed.
    CropBox Moved(const CropBox &from, Grip grip, int dx, int dy) const;

    QImage m_page;
    CropBox m_crop;
    Grip m_grip = Whole; // what the keys move: the handle taken last
    bool m_dragging = false;
    QPointF m_pressedAt;   // in page pixels
    CropBox m_pressedCrop; // the rectangle when the drag began
};
