// A PDF's pages as rows of the real window, with the preview of one and its tool tip as the
// user sees them: checked, and kept as a screenshot for the docs. Included by one test program
// for each language.
#pragma once

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <filesystem>

#include "tests/qt/Screenshots.h"
#include "tests/qt/WindowFixture.h"
#include "tests/support/Files.h"
#include "tests/support/TextPdf.h"

class PdfRowShot : public WindowFixture {
protected:
    // Adds a photo and a three-page contract, shows the contract's second page and hovers its
    // row; the tool tip's text comes back, and the window with the tip is kept as `name`.
    std::string ShowSecondPage(const char *name) {
        std::vector<support::TextPdfPage> pages(3);
        const char *lines[] = {"Contract - terms", "Page 2 - signatures", "Page 3 - annex"};
        for (int i = 0; i < 3; ++i) {
            pages[i].text = lines[i];
            pages[i].blackBox = i == 1;
        }
        std::filesystem::create_directory(dir / "docs");
        support::WriteText(contract, support::TextPdf(pages));
        AddRows({contract});
        SettleChecksWithin(20000);
        const int row = 1;
        ClickRow(row);
        QApplication::processEvents();
        const QPoint at = RowCentre(row);
        QHelpEvent help(QEvent::ToolTip, at, List()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(List()->viewport(), &help);
        const std::string text = QToolTip::text().toStdString();
        QWidget *tip = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->inherits("QTipLabel") && top->isVisible()) {
                tip = top;
            }
        }
        QImage shot = window->grab().toImage();
        if (tip) {
            const QImage tipShot = tip->grab().toImage();
            const QRect tipArea(window->mapFromGlobal(tip->pos()), tipShot.size());
            const QRect area = window->rect().united(tipArea);
            QImage whole(area.size(), QImage::Format_RGB32);
            whole.fill(QColor(255, 255, 255));
            QPainter painter(&whole);
            painter.drawImage(-area.topLeft(), shot);
            painter.drawImage(tipArea.topLeft() - area.topLeft(), tipShot);
            painter.end();
            shot = whole;
        }
        KeepScreenshot(shot, name);
        QToolTip::hideText();
        return text;
    }

    // The share of dark pixels in the preview frame: the page's black square and its text.
    double DarkShare() {
        QWidget *frame = window->ControlWidget(IDC_PREVIEW_FRAME);
        const QImage shot = frame->grab().toImage();
        long dark = 0;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                dark += qGray(shot.pixel(x, y)) < 64;
            }
        }
        return double(dark) / (shot.width() * shot.height());
    }

    support::TempDir dir;
    std::string contract = dir / "docs/合同.pdf";
};
