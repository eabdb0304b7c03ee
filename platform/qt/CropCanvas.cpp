#include "platform/qt/CropCanvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {
constexpr double kHandleSide = 10;
constexpr double kReach = 14; // how far from a handle a press still takes it
constexpr int kLongestSide = 640;
constexpr int kShiftStep = 10;

bool MovesLeft(CropCanvas::Grip grip) {
    return grip == CropCanvas::TopLeft || grip == CropCanvas::Left ||
           grip == CropCanvas::BottomLeft;
}
bool MovesRight(CropCanvas::Grip grip) {
    return grip == CropCanvas::TopRight || grip == CropCanvas::Right ||
           grip == CropCanvas::BottomRight;
}
bool MovesTop(CropCanvas::Grip grip) {
    return grip == CropCanvas::TopLeft || grip == CropCanvas::Top || grip == CropCanvas::TopRight;
}
bool MovesBottom(CropCanvas::Grip grip) {
    return grip == CropCanvas::BottomLeft || grip == CropCanvas::Bottom ||
           grip == CropCanvas::BottomRight;
}
} // namespace

CropCanvas::CropCanvas(QImage page, const CropBox &crop, QWidget *parent)
    : QWidget(parent), m_page(std::move(page)), m_crop(crop) {
    setObjectName(QStringLiteral("cropCanvas"));
    setMinimumSize(400, 300);
    setFocusPolicy(Qt::StrongFocus);
}

void CropCanvas::SetCrop(const CropBox &crop) {
    m_crop = crop;
    update();
    emit CropChanged();
}

QSize CropCanvas::sizeHint() const {
    if (m_page.isNull()) {
        return {kLongestSide, kLongestSide};
    }
    return m_page.size().scaled(kLongestSide, kLongestSide, Qt::KeepAspectRatio);
}

QRectF CropCanvas::PageRect() const {
    // A margin of a handle's size, so that handles on the page's edges show whole.
    const QRectF area =
        QRectF(rect()).adjusted(kHandleSide, kHandleSide, -kHandleSide, -kHandleSide);
    if (m_page.isNull()) {
        return area;
    }
    const QSizeF fitted = QSizeF(m_page.size()).scaled(area.size(), Qt::KeepAspectRatio);
    return QRectF(area.center() - QPointF(fitted.width() / 2, fitted.height() / 2), fitted);
}

double CropCanvas::Scale() const {
    return m_page.isNull() || m_page.width() == 0 ? 1 : PageRect().width() / m_page.width();
}

QPointF CropCanvas::ToPage(const QPointF &at) const {
    return (at - PageRect().topLeft()) / Scale();
}

QPointF CropCanvas::HandleAt(Grip grip) const {
    const double left = m_crop.left, right = m_crop.right;
    const double top = m_crop.top, bottom = m_crop.bottom;
    const double x = MovesLeft(grip) ? left : MovesRight(grip) ? right : (left + right) / 2;
    const double y = MovesTop(grip) ? top : MovesBottom(grip) ? bottom : (top + bottom) / 2;
    return PageRect().topLeft() + QPointF(x, y) * Scale();
}

CropBox CropCanvas::Moved(const CropBox &from, Grip grip, int dx, int dy) const {
    const int width = m_page.width(), height = m_page.height();
    if (grip == Whole) {
        dx = std::clamp(dx, -from.left, width - from.right);
        dy = std::clamp(dy, -from.top, height - from.bottom);
        return CropBox{from.left + dx, from.top + dy, from.right + dx, from.bottom + dy};
    }
    CropBox to = from;
    if (MovesLeft(grip)) {
        to.left = std::clamp(from.left + dx, 0, from.right);
    }
    if (MovesRight(grip)) {
        to.right = std::clamp(from.right + dx, from.left, width);
    }
    if (MovesTop(grip)) {
        to.top = std::clamp(from.top + dy, 0, from.bottom);
    }
    if (MovesBottom(grip)) {
        to.bottom = std::clamp(from.bottom + dy, from.top, height);
    }
    return to;
}

void CropCanvas::paintEvent(QPaintEvent * /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.fillRect(rect(), QColor(60, 60, 60));
    const QRectF page = PageRect();
    painter.drawImage(page, m_page);
    const QRectF kept(HandleAt(TopLeft), HandleAt(BottomRight));
    // What is cut away, dimmed: the page less the kept rectangle.
    QPainterPath away;
    away.addRect(page);
    away.addRect(kept);
    painter.fillPath(away, QColor(0, 0, 0, 140));
    painter.setPen(QPen(QColor(0, 170, 255), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(kept);
    for (int i = TopLeft; i < Whole; ++i) {
        const Grip grip = Grip(i);
        painter.setBrush(grip == m_grip ? QColor(255, 200, 0) : QColor(255, 255, 255, 220));
        painter.drawRect(QRectF(HandleAt(grip) - QPointF(kHandleSide / 2, kHandleSide / 2),
                                QSizeF(kHandleSide, kHandleSide)));
    }
}

void CropCanvas::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    double nearest = kReach;
    std::optional<Grip> taken;
    for (int i = TopLeft; i < Whole; ++i) {
        const QPointF d = HandleAt(Grip(i)) - event->position();
        const double distance = std::hypot(d.x(), d.y());
        if (distance <= nearest) {
            nearest = distance;
            taken = Grip(i);
        }
    }
    if (!taken && QRectF(HandleAt(TopLeft), HandleAt(BottomRight)).contains(event->position())) {
        taken = Whole;
    }
    if (!taken) {
        return;
    }
    m_grip = *taken;
    m_dragging = true;
    m_pressedAt = ToPage(event->position());
    m_pressedCrop = m_crop;
    update();
}

void CropCanvas::mouseMoveEvent(QMouseEvent *event) {
    if (!m_dragging) {
        return;
    }
    const QPointF moved = ToPage(event->position()) - m_pressedAt;
    SetCrop(Moved(m_pressedCrop, m_grip, int(std::lround(moved.x())), int(std::lround(moved.y()))));
}

void CropCanvas::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
    }
}

void CropCanvas::keyPressEvent(QKeyEvent *event) {
    const int step = (event->modifiers() & Qt::ShiftModifier) ? kShiftStep : 1;
    int dx = 0, dy = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -step;
        break;
    case Qt::Key_Right:
        dx = step;
        break;
    case Qt::Key_Up:
        dy = -step;
        break;
    case Qt::Key_Down:
        dy = step;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    SetCrop(Moved(m_crop, m_grip, dx, dy));
}
