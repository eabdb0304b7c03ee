// Pre-flight in the real window: each added file is checked in the background by the engine's
// own readers; an unusable row turns red with its reason as the tool tip the user sees, and
// "生成PDF" offers to leave such rows out.

#include <QElapsedTimer>
#include <QHelpEvent>
#include <QPainter>
#include <QScreen>
#include <QTextDocument>
#include <QToolTip>
#include <chrono>

#include "tests/qt/RunWatcher.h"
#include "tests/qt/Screenshots.h"
#include "tests/qt/WindowFixture.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"
#include "tests/support/Png.h"

namespace {

using namespace support;
using Strings = std::vector<std::string>;

// A tool tip's text as the user reads it: a long one is rich text with break points in its paths.
std::string PlainText(const std::string &tip) {
    QTextDocument shown;
    shown.setHtml(QString::fromStdString(tip));
    return shown.toPlainText().remove(QChar(0x200B)).toStdString();
}

class Preflight : public WindowFixture {
protected:
    QColor RowColour(int row) {
        return List()->model()->index(row, 1).data(Qt::ForegroundRole).value<QColor>();
    }
    // The tool tip the list shows when the pointer rests on a row; its text and its window.
    QWidget *HoverTip(int row, std::string &text) {
        const QPoint at = RowCentre(row);
        QHelpEvent help(QEvent::ToolTip, at, List()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(List()->viewport(), &help);
        text = QToolTip::text().toStdString();
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->inherits("QTipLabel") && top->isVisible()) {
                return top;
            }
        }
        return nullptr;
    }

    // The mean colour of a row's path cell as the list paints it now.
    QColor CellColour(int row) {
        QApplication::processEvents();
        const QImage shot = List()->viewport()->grab().toImage();
        return MeanColour(shot, List()->visualRect(List()->model()->index(row, 1)));
    }

    TempDir dir;
};

TEST_F(Preflight, AnUnusableRowIsRedWithItsReasonAndSkippingItWritesTheRest) {
    WriteFile(dir / "page-1.jpg", MakeJpeg(MarkedSheet(48, 64, 3)));
    WriteFile(dir / "page-3.jpg", MakeJpeg(MarkedSheet(64, 48, 3)));
    Bytes cut = MakeJpeg(Pattern(480, 640, 3));
    cut.resize(cut.size() / 2);
    WriteFile(dir / "page-2.jpg", cut);
    WriteText(dir / "page-10.jpg", "a shopping list, not a picture");
    // A PNG with the wrong extension is still a picture the engine reads by its content.
    WriteFile(dir / "page-4.jpg", MakePng(PngImageOf(MarkedSheet(40, 30, 3))));
    AddRows({dir / "page-10.jpg", dir / "page-4.jpg", dir / "page-3.jpg", dir / "page-2.jpg",
             dir / "page-1.jpg"});
    SettleChecks();

    ASSERT_EQ(Paths(), (Strings{dir / "page-1.jpg", dir / "page-2.jpg", dir / "page-3.jpg",
                                dir / "page-4.jpg", dir / "page-10.jpg"}));
    const QColor red(204, 0, 0);
    EXPECT_EQ(RowColour(1), red);
    EXPECT_EQ(RowColour(4), red);
    EXPECT_FALSE(RowColour(0).isValid()); // the list's own colour
    EXPECT_FALSE(RowColour(3).isValid());
    EXPECT_EQ(dlg->ImageList().GetItemToolTip(3).rfind("PNG 40x30, ", 0), 0u);

    std::string tip;
    EXPECT_NE(HoverTip(0, tip), nullptr);
    EXPECT_EQ(tip, "JPEG 48x64, 原样嵌入, 1 页");
    QWidget *shown = HoverTip(1, tip);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(PlainText(tip), dlg->ImageList().GetItemToolTip(1));
    EXPECT_NE(tip, "");
    // The window with the tool tip where the desktop shows it, past the window's edge too.
    const QImage tipShot = shown->grab().toImage();
    const QRect tipArea(window->mapFromGlobal(shown->pos()), tipShot.size());
    const QRect area = window->rect().united(tipArea);
    QImage shot(area.size(), QImage::Format_RGB32);
    shot.fill(QColor(255, 255, 255));
    QPainter painter(&shot);
    painter.drawImage(-area.topLeft(), window->grab().toImage());
    painter.drawImage(tipArea.topLeft() - area.topLeft(), tipShot);
    painter.end();
    KeepScreenshot(shot, "preflight.png");
    QToolTip::hideText();

    dlg->SetSavePath(dir / "book.pdf");
    RunWatcher watcher;
    watcher.answers = {"跳过"};
    Click(IDC_BTN_GENERATE);
    ASSERT_EQ(watcher.boxes.size(), 2u);
    EXPECT_EQ(watcher.boxes[0].rfind("系统提示|列表中有 2 张图片无法使用:\npage-2.jpg: ", 0), 0u);
    EXPECT_EQ(watcher.boxes[1], "系统提示|操作成功!\n共 3 页, 已保存到 " + (dir / "book.pdf"));
    EXPECT_EQ(PageCount(dir / "book.pdf"), 3);
}

// The red of an unusable row stays when it is the selected row: the selection is drawn in it.
TEST_F(Preflight, ASelectedUnusableRowStillShowsItsRed) {
    WriteFile(dir / "a.jpg", MakeJpeg(Pattern(48, 64, 3)));
    WriteText(dir / "b.jpg", "a shopping list, not a picture");
    AddRows({dir / "a.jpg", dir / "b.jpg"});
    SettleChecks();
    ClickRow(1);
    const QColor selectedRed = CellColour(1);
    EXPECT_GT(selectedRed.red(), 150);
    EXPECT_LT(selectedRed.green(), 100);
    EXPECT_LT(selectedRed.blue(), 100);
    ClickRow(0);
    EXPECT_GT(ColourDistance(CellColour(0), selectedRed), 80) << "a good row is not red";
}

// A reason naming a long path wraps into lines of about 80 characters, breaking between folders,
// instead of running past the screen's edge; every word of it is still there.
TEST_F(Preflight, ALongToolTipWrapsInsteadOfRunningOffTheScreen) {
    AddRows({"/p/a.jpg"});
    SettleChecks();
    std::string path = "/home/user";
    for (int i = 0; i < 20; ++i) {
        path += "/扫描件-第" + std::to_string(i) + "批-contract-archive";
    }
    const std::string reason = "cannot read " + path + "/page-1.jpg: the file ends early";
    List()->SetItemToolTip(0, reason);
    std::string text;
    QWidget *tip = HoverTip(0, text);
    ASSERT_NE(tip, nullptr);
    const int averageChar = tip->fontMetrics().averageCharWidth();
    EXPECT_LE(tip->width(), 100 * averageChar);
    EXPECT_LE(tip->width(), tip->screen()->availableGeometry().width());
    EXPECT_GT(tip->height(), 5 * tip->fontMetrics().height()) << "not wrapped";
    EXPECT_EQ(PlainText(text), reason);
    QToolTip::hideText();
}

} // namespace
