#include "tests/deskphoto/DeskScene.h"

#include <cmath>

#include <QPainter>
#include <QPainterPath>

namespace desk {

namespace {

void paleTable(QPainter &p, QSize size, Random &random) {
    QLinearGradient light(0, 0, size.width(), size.height());
    light.setColorAt(0, QColor(214, 208, 196));
    light.setColorAt(1, QColor(200, 195, 184));
    p.fillRect(QRect(QPoint(0, 0), size), light);
    p.setPen(QPen(QColor(190, 184, 172, 60), 2));
    for (int i = 0; i < 40; ++i) {
        double y = random.uniform(0, size.height());
        p.drawLine(QPointF(0, y), QPointF(size.width(), y + random.uniform(-20, 20)));
    }
}

void patternedCloth(QPainter &p, QSize size, Random &random) {
    p.fillRect(QRect(QPoint(0, 0), size), QColor(236, 228, 214));
    double period = size.width() * random.uniform(0.04, 0.07);
    p.save();
    p.translate(size.width() / 2.0, size.height() / 2.0);
    p.rotate(random.uniform(-20, 20));
    double reach = std::hypot(size.width(), size.height());
    QColor stripe(random.uniform(0, 1) < 0.5 ? QColor(170, 35, 45, 110) : QColor(40, 70, 160, 110));
    for (double x = -reach; x < reach; x += period) {
        p.fillRect(QRectF(x, -reach, period / 2, 2 * reach), stripe);
        p.fillRect(QRectF(-reach, x, 2 * reach, period / 2), stripe);
    }
    p.setPen(QPen(QColor(60, 60, 60, 90), std::max(1.0, period / 20)));
    for (double x = -reach; x < reach; x += period) {
        p.drawLine(QPointF(x + period * 0.75, -reach), QPointF(x + period * 0.75, reach));
    }
    p.restore();
}

void darkWood(QPainter &p, QSize size, Random &random) {
    p.fillRect(QRect(QPoint(0, 0), size), QColor(96, 62, 40));
    double phase = random.uniform(0, 6.28);
    for (int y = 0; y < size.height(); y += 2) {
        double v = std::sin(y * 0.05 + phase + 3 * std::sin(y * 0.003)) * 0.5 + 0.5;
        p.setPen(QPen(QColor(70 + static_cast<int>(40 * v), 45 + static_cast<int>(25 * v),
                             28 + static_cast<int>(15 * v)),
                      2));
        p.drawLine(QPointF(0, y), QPointF(size.width(), y + 8 * std::sin(y * 0.01 + phase)));
    }
}

void greyStone(QPainter &p, QSize size, Random &random) {
    p.fillRect(QRect(QPoint(0, 0), size), QColor(128, 128, 124));
    int speckles = size.width() * size.height() / 60;
    for (int i = 0; i < speckles; ++i) {
        int v = static_cast<int>(random.uniform(70, 200));
        double r = random.uniform(1, 3);
        p.fillRect(QRectF(random.uniform(0, size.width()), random.uniform(0, size.height()), r, r),
                   QColor(v, v, v - 4));
    }
}

// A sheet of paper with grey lines of text, `corners` in photo pixels.
void otherPaper(QPainter &p, const QPolygonF &corners) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(238, 238, 232));
    p.drawPolygon(corners);
    p.setPen(QPen(QColor(120, 120, 120), 3));
    for (double t = 0.15; t < 0.85; t += 0.06) {
        QPointF a = corners[0] + (corners[3] - corners[0]) * t;
        QPointF b = corners[1] + (corners[2] - corners[1]) * t;
        p.drawLine(a + (b - a) * 0.1, a + (b - a) * 0.8);
    }
}

QPolygonF turnedRect(QPointF centre, double w, double h, double degrees) {
    QTransform t;
    t.translate(centre.x(), centre.y());
    t.rotate(degrees);
    return t.map(QPolygonF(QRectF(-w / 2, -h / 2, w, h)));
}

void keyboard(QPainter &p, QPointF centre, double w, double degrees) {
    p.save();
    p.translate(centre);
    p.rotate(degrees);
    double h = w * 0.35;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(45, 45, 50));
    p.drawRoundedRect(QRectF(-w / 2, -h / 2, w, h), w * 0.02, w * 0.02);
    p.setBrush(QColor(75, 75, 82));
    double key = w / 16;
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 15; ++c) {
            p.drawRoundedRect(
                QRectF(-w / 2 + key * (c + 0.6), -h / 2 + key * (r + 0.5), key * 0.85, key * 0.85),
                key * 0.1, key * 0.1);
        }
    }
    p.restore();
}

void clutteredDesk(QPainter &p, QSize size, const QPolygonF &sheet, Random &random) {
    p.fillRect(QRect(QPoint(0, 0), size), QColor(122, 128, 138));
    double w = size.width(), h = size.height();
    QPointF centre = sheet.isEmpty() ? QPointF(w / 2, h / 2) : sheet.boundingRect().center();
    // Two other papers peeking out from under the sheet, partly out of the frame.
    otherPaper(p, turnedRect(centre + QPointF(-0.38 * w, 0.25 * h), 0.35 * w, 0.45 * w,
                             random.uniform(-25, 25)));
    otherPaper(p, turnedRect(centre + QPointF(0.42 * w, -0.3 * h), 0.3 * w, 0.4 * w,
                             random.uniform(-25, 25)));
    keyboard(p, QPointF(0.5 * w, 1.02 * h), 0.8 * w, random.uniform(-5, 5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 60, 40));
    QPointF mug(0.92 * w, 0.15 * h);
    p.drawEllipse(mug, 0.07 * w, 0.07 * w);
    p.setBrush(QColor(60, 30, 20));
    p.drawEllipse(mug, 0.055 * w, 0.055 * w);
}

} // namespace

void drawDesk(QImage &photo, Desk desk, const QPolygonF &sheet, Random &random) {
    QPainter p(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    switch (desk) {
    case Desk::PaleTable:
        paleTable(p, photo.size(), random);
        break;
    case Desk::PatternedCloth:
        patternedCloth(p, photo.size(), random);
        break;
    case Desk::ClutteredDesk:
        clutteredDesk(p, photo.size(), sheet, random);
        break;
    case Desk::DarkWood:
        darkWood(p, photo.size(), random);
        break;
    case Desk::GreyStone:
        greyStone(p, photo.size(), random);
        break;
    }
}

void drawOverSheet(QImage &photo, Desk desk, const QPolygonF &sheet, Random &random) {
    if (desk != Desk::ClutteredDesk || sheet.size() != 4) {
        return;
    }
    // A pen lying across the sheet's right edge, a third of the way down.
    QPointF at = sheet[1] + (sheet[2] - sheet[1]) * random.uniform(0.25, 0.6);
    double length = photo.width() * 0.22;
    QPainter p(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(at);
    p.rotate(random.uniform(-40, -20));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 40, 120));
    p.drawRoundedRect(QRectF(-length * 0.55, -length * 0.025, length, length * 0.05), length * 0.02,
                      length * 0.02);
}

const char *deskName(Desk desk) {
    switch (desk) {
    case Desk::PaleTable:
        return "pale-table";
    case Desk::PatternedCloth:
        return "patterned-cloth";
    case Desk::ClutteredDesk:
        return "cluttered-desk";
    case Desk::DarkWood:
        return "dark-wood";
    case Desk::GreyStone:
        return "grey-stone";
    }
    return "desk";
}

} // namespace desk
