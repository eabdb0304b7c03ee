#include "tests/ocr/TextPage.h"

#include <cstring>

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>

namespace ocr_test {

void ensureGuiApplication() {
    static int argc = 1;
    static char name[] = "folvane_ocr_test";
    static char *argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static QGuiApplication *app = new QGuiApplication(argc, argv);
        (void)app;
    }
}

TextPage drawTextPage(const std::vector<std::string> &lines, int width, int height,
                      double pointSize) {
    ensureGuiApplication();
    QImage image(width, height, QImage::Format_Grayscale8);
    image.fill(255);
    QFont font("Noto Sans CJK SC");
    font.setPixelSize(static_cast<int>(pointSize * 300 / 72 + 0.5));
    TextPage page;
    page.width = width;
    page.height = height;
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        QFontMetrics metrics(font, &image);
        const int margin = 150;
        int baseline = margin + metrics.ascent();
        for (const std::string &line : lines) {
            int x = margin;
            const QStringList words = QString::fromStdString(line).split(' ');
            for (const QString &word : words) {
                int advance = metrics.horizontalAdvance(word);
                painter.drawText(x, baseline, word);
                page.words.push_back({word.toStdString(), x, baseline - metrics.ascent(),
                                      x + advance, baseline + metrics.descent()});
                x += advance + metrics.horizontalAdvance(' ');
            }
            baseline += metrics.height() * 3 / 2;
        }
    }
    page.grey.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        std::memcpy(page.grey.data() + static_cast<std::size_t>(y) * width, image.constScanLine(y),
                    width);
    }
    return page;
}

std::vector<unsigned char> turnedForOrientation6(const TextPage &page) {
    // Stored width is the page's height; stored pixel (x, y) shows at upright (W-1-y, x).
    int storedWidth = page.height;
    int storedHeight = page.width;
    std::vector<unsigned char> stored(page.grey.size());
    for (int y = 0; y < storedHeight; ++y) {
        for (int x = 0; x < storedWidth; ++x) {
            int uprightX = page.width - 1 - y;
            int uprightY = x;
            stored[static_cast<std::size_t>(y) * storedWidth + x] =
                page.grey[static_cast<std::size_t>(uprightY) * page.width + uprightX];
        }
    }
    return stored;
}

} // namespace ocr_test

// Fontconfig keeps a cache for the life of the process; the leak checker is told so.
extern "C" const char *__lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
