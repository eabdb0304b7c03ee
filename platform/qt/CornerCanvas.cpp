#include "platform/qt/CornerCanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace {
constexpr double kHandleRadius = 7;
constexpr double kReach = 18; // how far from a handle a press still takes it
constexpr int kLongestSide = 640;
} // namespace

CornerCanvas::CornerCanvas(QImage photo, const CornerQuad &corners, QWidget *parent)
    : QWidget(parent), m_photo(std::move(photo)), m_corners(corners) {
    setObjectName(QStringLiteral("cornerCanvas"));
    setMinimumSize(400, 300);
    setMouseTracking(false);
}

QSize CornerCanvas::sizeHint() const {
    if (m_photo.isNull()) {
        return {kLongestSide, kLongestSide};
    }
    const QSize size = m_photo.size();
    return size.scaled(kLongestSide, kLongestSide, Qt::KeepAspectRatio);
}

QRectF CornerCanvas::PhotoRect() const {
    if (m_photo.isNull()) {
        return QRectF(rect());
    }
    const QSizeF fitted = QSizeF(m_photo.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
    return QRectF(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2),
                  fitted);
}

QPointF CornerCanvas::HandleAt(int i) const {
    const QRectF area = PhotoRect();
    const double scale = m_photo.isNull() ? 1 : area.width() / m_photo.width();
    return area.topLeft() + QPointF((m_corners[i].x + 0.5) * scale, (m_corners[i].y + 0.5) * scale);
}

CornerPoint CornerCanvas::ToPhoto(const QPointF &at) const {
    const QRectF area = PhotoRect();
    if (m_photo.isNull() || area.width() <= 0) {
        return {};
    }
    const double scale = area.width() / m_photo.width();
    const QPointF inside(std::clamp(at.x(), area.left(), area.right()),
                         std::clamp(at.y(), area.top(), area.bottom()));
    return {(inside.x() - area.left()) / scale - 0.5, (inside.y() - area.top()) / scale - 0.5};
}

void CornerCanvas::paintEvent(QPaintEvent * /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(60, 60, 60));
    painter.drawImage(PhotoRect(), m_photo);
    QPolygonF outline;
    for (int i = 0; i < 4; ++i) {
        outline << HandleAt(i);
    }
    painter.setPen(QPen(QColor(0, 170, 255), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(outline);
    for (int i = 0; i < 4; ++i) {
        painter.setBrush(i == m_dragged ? QColor(255, 200, 0) : QColor(255, 255, 255, 200));
        painter.drawEllipse(HandleAt(i), kHandleRadius, kHandleRadius);
    }
}

void CornerCanvas::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    double nearest = kReach;
    m_dragged = -1;
    for (int i = 0; i < 4; ++i) {
        const QPointF d = HandleAt(i) - event->position();
        const double distance = std::hypot(d.x(), d.y());
        if (distance <= nearest) {
            nearest = distance;
            m_dragged = i;
        }
    }
    update();
}

void CornerCanvas::mouseMoveEvent(QMouseEvent *event) {
    if (m_dragged < 0) {
        return;
    }
    m_corners[m_dragged] = ToPhoto(event->position());
    update();
    emit CornersMoved();
}

void CornerCanvas::mouseReleaseEvent(QMouseEvent *event) {
    if (m_dragged < 0 || event->button() != Qt::LeftButton) {
        return;
    }
    m_corners[m_dragged] = ToPhoto(event->position());
    m_dragged = -1;
    update();
    emit CornersReleased();
}
