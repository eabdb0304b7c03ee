// The flat page: a title, lines of Chinese and English text, a table, a signature line with a
// red seal over it, and on request blue ink and a highlighter stroke.
#include <cmath>

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

#include "tests/deskphoto/CameraView.h"
#include "tests/deskphoto/DeskPhoto.h"
#include "tests/deskphoto/QtPictures.h"

namespace desk {

namespace {

const char *const kEnglish[] = {"The parties agree that the invoice is payable within thirty days.",
                                "Delivery takes place at the warehouse named in the order form.",
                                "The tenant shall keep the premises in good repair at all times.",
                                "Please return the signed copy before the end of the month.",
                                "The warranty covers defects in material and workmanship.",
                                "Payment by bank transfer must quote the reference number."};

const char *const kChinese[] = {
    "双方同意发票应在三十天内付清。",     "交货地点为订单上写明的仓库。",
    "承租人应始终保持房屋处于良好状态。", "请在月底之前寄回签好字的副本。",
    "保修范围包括材料和工艺上的缺陷。",   "银行转账付款时必须注明参考编号。"};

QFont fontOf(double pixels, bool bold = false) {
    QFont font("Noto Sans CJK SC");
    font.setPixelSize(std::max(4, static_cast<int>(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

// Returns the baseline below the last line drawn.
double drawText(QPainter &p, const PageSpec &spec, double mm, double y) {
    const std::vector<std::string> lines = pageLines(spec);
    p.setPen(Qt::black);
    p.setFont(fontOf(7 * mm, true));
    p.drawText(QPointF(20 * mm, y), QString::fromStdString(lines[0]));
    y += 14 * mm;
    p.setFont(fontOf(3.9 * mm));
    for (std::size_t i = 1; i < lines.size(); ++i) {
        p.drawText(QPointF(20 * mm, y), QString::fromStdString(lines[i]));
        y += 7 * mm;
    }
    return y;
}

double drawTable(QPainter &p, double mm, double y, double width) {
    const double left = 20 * mm, row = 9 * mm;
    const double columns[] = {0, 0.15, 0.65, 1.0};
    p.setPen(QPen(Qt::black, std::max(1.0, 0.35 * mm)));
    for (int r = 0; r <= 4; ++r) {
        p.drawLine(QPointF(left, y + r * row), QPointF(left + width, y + r * row));
    }
    for (double c : columns) {
        p.drawLine(QPointF(left + c * width, y), QPointF(left + c * width, y + 4 * row));
    }
    const char *cells[4][3] = {{"序号 No.", "品名 Item", "金额 Amount"},
                               {"1", "办公桌 Desk", "1,200.00"},
                               {"2", "文件柜 Cabinet", "860.00"},
                               {"3", "打印纸 Paper", "95.50"}};
    p.setFont(fontOf(3.5 * mm));
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            p.drawText(QPointF(left + columns[c] * width + 2 * mm, y + r * row + 6.3 * mm),
                       QString::fromUtf8(cells[r][c]));
        }
    }
    return y + 4 * row;
}

void drawSeal(QPainter &p, QPointF centre, double radius) {
    QColor red(205, 30, 40);
    p.setPen(QPen(red, radius * 0.07));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius, radius);
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        double r = i % 2 == 0 ? radius * 0.3 : radius * 0.12;
        double a = -M_PI / 2 + i * M_PI / 5;
        QPointF point(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
        i == 0 ? star.moveTo(point) : star.lineTo(point);
    }
    star.closeSubpath();
    p.fillPath(star, red);
    p.setPen(red);
    p.setFont(fontOf(radius * 0.28, true));
    const QString text = QString::fromUtf8("合同专用章公司");
    for (int i = 0; i < text.size(); ++i) {
        double a = -M_PI * 0.85 + i * (M_PI * 0.7 / (text.size() - 1));
        p.save();
        p.translate(centre.x() + radius * 0.72 * std::cos(a),
                    centre.y() + radius * 0.72 * std::sin(a));
        p.rotate(a * 180 / M_PI + 90);
        p.drawText(QPointF(-radius * 0.14, radius * 0.1), text.mid(i, 1));
        p.restore();
    }
}

void drawColourMarks(QPainter &p, double mm, double y) {
    QPainterPath signature;
    signature.moveTo(30 * mm, y);
    for (int i = 1; i <= 12; ++i) {
        signature.lineTo((30 + i * 4) * mm, y + (i % 2 == 0 ? -4 : 3) * mm);
    }
    p.setPen(QPen(QColor(25, 45, 170), 0.5 * mm));
    p.drawPath(signature);
    p.fillRect(QRectF(20 * mm, 40 * mm, 90 * mm, 5 * mm), QColor(255, 235, 40, 150));
}

} // namespace

std::vector<std::string> pageLines(const PageSpec &spec) {
    std::vector<std::string> lines = {"购销合同 Sales Contract"};
    for (int i = 0; i < 8; ++i) {
        unsigned pick = (spec.textSeed * 5 + i * 7) % 6;
        lines.push_back(i % 2 == 0 ? kEnglish[pick] : kChinese[pick]);
    }
    return lines;
}

const char *paperName(Paper paper) {
    switch (paper) {
    case Paper::A5:
        return "A5";
    case Paper::B5:
        return "B5";
    case Paper::Letter:
        return "Letter";
    case Paper::A4:
        break;
    }
    return "A4";
}

support::Picture drawPage(const PageSpec &spec) {
    ensureGuiApplication();
    QSizeF size = paperSize(spec.paper);
    double mm = spec.dpi / 25.4;
    QImage image(static_cast<int>(std::lround(size.width() * mm)),
                 static_cast<int>(std::lround(size.height() * mm)), QImage::Format_RGB888);
    image.fill(QColor(255, 255, 255));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    double y = drawText(p, spec, mm, 30 * mm);
    y = drawTable(p, mm, y + 4 * mm, (size.width() - 40) * mm);
    y += 20 * mm;
    p.setPen(QPen(Qt::black, std::max(1.0, 0.3 * mm)));
    p.setFont(fontOf(3.9 * mm));
    p.drawText(QPointF(20 * mm, y), QString::fromUtf8("签字 Signature:"));
    p.drawLine(QPointF(55 * mm, y + 1 * mm), QPointF(110 * mm, y + 1 * mm));
    if (spec.seal) {
        drawSeal(p, QPointF((size.width() - 55) * mm, y - 8 * mm), 21 * mm);
    }
    if (spec.colourMarks) {
        drawColourMarks(p, mm, y - 2 * mm);
    }
    p.end();
    return fromQImage(image);
}

void ensureGuiApplication() {
    static int argc = 1;
    static char name[] = "folvane_desk_photo";
    static char *argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static QGuiApplication *app = new QGuiApplication(argc, argv);
        (void)app;
    }
}

} // namespace desk
