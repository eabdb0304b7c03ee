// The list in the real window: one current row for every row command, the keyboard, and drag and
// drop of rows, files and folders.

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMenu>
#include <QTemporaryDir>
#include <QUrl>

#include "tests/qt/WindowFixture.h"

namespace {

using Strings = std::vector<std::string>;

class Rows : public WindowFixture {};

TEST_F(Rows, EveryRowCommandActsOnTheRowTheArrowKeysHighlighted) {
    AddRows({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg", "/p/d.jpg"});
    ClickRow(0);
    Key(Qt::Key_Down);
    EXPECT_EQ(dlg->Pages().current(), 1);
    Click(IDC_BTN_MOVE_UP);
    EXPECT_EQ(Paths(), (Strings{"/p/b.jpg", "/p/a.jpg", "/p/c.jpg", "/p/d.jpg"}));
    EXPECT_EQ(dlg->HighlightedRow(), 0);

    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Click(IDC_BTN_MOVE_BOTTOM);
    EXPECT_EQ(Paths(), (Strings{"/p/b.jpg", "/p/a.jpg", "/p/d.jpg", "/p/c.jpg"}));
    Key(Qt::Key_Up);
    Click(IDC_BTN_MOVE_TOP);
    EXPECT_EQ(Paths(), (Strings{"/p/d.jpg", "/p/b.jpg", "/p/a.jpg", "/p/c.jpg"}));
    Key(Qt::Key_Down);
    Click(IDC_BTN_MOVE_DOWN);
    EXPECT_EQ(Paths(), (Strings{"/p/d.jpg", "/p/a.jpg", "/p/b.jpg", "/p/c.jpg"}));

    Key(Qt::Key_Down);
    Click(IDC_BTN_VIEW_IMAGE);
    dlg->SendMessage(UiMessage{WM_COMMAND, ID_MENU_EDIT_ITEM, 0, 0}); // "资料修改"
    EXPECT_EQ(toolkit.opened, (Strings{"open /p/c.jpg", "open /p/c.jpg"}));
    Key(Qt::Key_Up);
    Click(IDC_BTN_DELETE);
    EXPECT_EQ(Paths(), (Strings{"/p/d.jpg", "/p/a.jpg", "/p/c.jpg"}));
    EXPECT_EQ(dlg->Pages().current(), 2);
    EXPECT_EQ(dlg->HighlightedRow(), 2);
}

TEST_F(Rows, SortKeepsTheHighlightAndTheCurrentRowOnTheSameFile) {
    AddRows({"/p/page-10.jpg"});
    dlg->AppendFiles({"/p/page-9.jpg", "/p/page-1.jpg"});
    ClickRow(1);
    Click(IDC_BTN_SORT_BY_NAME);
    EXPECT_EQ(Paths(), (Strings{"/p/page-1.jpg", "/p/page-9.jpg", "/p/page-10.jpg"}));
    EXPECT_EQ(dlg->Pages().current(), 1);
    EXPECT_EQ(dlg->HighlightedRow(), 1);

    ClickRow(0);
    dlg->AppendFiles({"/p/page-0.jpg"}); // out of order again
    Click(IDC_BTN_SORT_BY_NAME);
    EXPECT_EQ(dlg->HighlightedRow(), 1);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Paths(), (Strings{"/p/page-0.jpg", "/p/page-9.jpg", "/p/page-10.jpg"}));
}

TEST_F(Rows, ShortcutsMoveDeleteAndAdd) {
    AddRows({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"});
    ClickRow(0);
    Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(Paths(), (Strings{"/p/b.jpg", "/p/a.jpg", "/p/c.jpg"}));
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Paths(), (Strings{"/p/b.jpg", "/p/c.jpg", "/p/a.jpg"}));
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"}));
    Strings refused;
    AnswerNextBox(refused);
    Key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(refused, (Strings{"系统提示|已经位于第一行!"}));
    EXPECT_EQ(dlg->HighlightedRow(), 0);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Paths(), (Strings{"/p/b.jpg", "/p/c.jpg"}));

    bool asked = false;
    WhenModal<QDialog>([&asked](QDialog &dialog) {
        asked = dialog.windowTitle() == QStringLiteral("选择一个或者多个JPG文件");
        dialog.reject();
    });
    Key(Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(asked);
}

// A right click as the desktop delivers it, through the window: the press, then the context menu
// event; the menu's first item is chosen with the keyboard.
void RightClickAndChooseFirstItem(QtDialog *window, QtListCtrl *list, QPoint inViewport) {
    QTimer::singleShot(0, [] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            menu->setActiveAction(menu->actions().value(0));
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
    const QPoint at = list->viewport()->mapTo(window, inViewport);
    QTest::mouseClick(window->windowHandle(), Qt::RightButton, Qt::NoModifier, at);
}

TEST_F(Rows, ARightClickedRowBecomesCurrentAndItsMenuOpensThatFile) {
    AddRows({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"});
    ClickRow(0);
    RightClickAndChooseFirstItem(window, List(), RowCentre(2)); // "资料修改"
    EXPECT_EQ(toolkit.opened, (Strings{"open /p/c.jpg"}));
    EXPECT_EQ(dlg->HighlightedRow(), 2);
    EXPECT_EQ(dlg->Pages().current(), 2);

    // Below the rows: the highlight stays, and the menu acts on the current row.
    const QPoint below(RowCentre(0).x(), List()->viewport()->height() - 4);
    ASSERT_FALSE(List()->indexAt(below).isValid());
    RightClickAndChooseFirstItem(window, List(), below);
    EXPECT_EQ(toolkit.opened, (Strings{"open /p/c.jpg", "open /p/c.jpg"}));
    EXPECT_EQ(dlg->HighlightedRow(), 2);
}

// Names in the order of the desktop's file manager: without regard to case and with numbers by
// their value, in a locale with a collation of its own and in the C locale alike.
TEST_F(Rows, FileNamesSortAsTheFileManagerListsThem) {
    const QLocale before;
    for (const QLocale &locale : {QLocale(QLocale::Chinese, QLocale::China), QLocale::c()}) {
        QLocale::setDefault(locale);
        Click(IDC_BTN_CLEAR_LIST);
        AddRows({"/p/UPPER.JPG", "/p/page-10.jpg", "/p/big.jpg", "/p/Page-2.jpg"});
        EXPECT_EQ(Paths(),
                  (Strings{"/p/big.jpg", "/p/Page-2.jpg", "/p/page-10.jpg", "/p/UPPER.JPG"}))
            << locale.name().toStdString();
        ClickRow(3);
        Click(IDC_BTN_MOVE_TOP); // out of order
        Click(IDC_BTN_SORT_BY_NAME);
        EXPECT_EQ(Paths().back(), "/p/UPPER.JPG");
    }
    QLocale::setDefault(before);
}

TEST_F(Rows, CtrlZBringsBackTheListThatClearListEmptied) {
    AddRows({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"});
    ClickRow(2);
    Click(IDC_BTN_MOVE_TOP);
    ClickRow(1);
    EXPECT_EQ(Widget<QAbstractButton>(IDC_BTN_CLEAR_LIST)->toolTip(),
              QStringLiteral("清空列表 (Ctrl+Z 恢复)"));
    Click(IDC_BTN_CLEAR_LIST);
    EXPECT_EQ(List()->model()->rowCount(), 0);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Paths(), (Strings{"/p/c.jpg", "/p/a.jpg", "/p/b.jpg"}));
    EXPECT_EQ(List()->model()->index(2, 0).data().toString(), QStringLiteral("3"));
    EXPECT_EQ(List()->currentIndex().row(), 1);
    EXPECT_EQ(dlg->Pages().current(), 1);
}

TEST_F(Rows, ARowDraggedWithinTheListMovesWithItsHighlight) {
    AddRows({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"});
    ClickRow(1);
    std::unique_ptr<QMimeData> row(List()->RowDragData(0));
    const QPoint lowerHalfOfLastRow = RowCentre(2) + QPoint(0, 3);
    DropOn(List(), lowerHalfOfLastRow, *row);
    EXPECT_EQ(Paths(), (Strings{"/p/b.jpg", "/p/c.jpg", "/p/a.jpg"}));
    EXPECT_EQ(dlg->ImageList().GetItemText(2, 0), "3");
    EXPECT_EQ(dlg->Pages().current(), 2);
    EXPECT_EQ(dlg->HighlightedRow(), 2);

    row.reset(List()->RowDragData(2));
    DropOn(List(), RowCentre(0) - QPoint(0, 3), *row);
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"}));
    EXPECT_EQ(dlg->HighlightedRow(), 0);

    // A row from another list is not one of ours.
    QtListCtrl other;
    row.reset(other.RowDragData(0));
    DropOn(List(), RowCentre(2), *row);
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"}));
}

// A row dragged to the top while another was current: the highlight, the current row and
// "查看图片" all follow the dragged row; Ctrl+Z takes the drag back and Ctrl+Y makes it again.
TEST_F(Rows, ADraggedRowIsTheOneTheWindowShowsAndOpensAndTheDragCanBeUndone) {
    AddRows({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"});
    ClickRow(1);
    std::unique_ptr<QMimeData> row(List()->RowDragData(2));
    DropOn(List(), RowCentre(0) - QPoint(0, 3), *row);
    EXPECT_EQ(Paths(), (Strings{"/p/c.jpg", "/p/a.jpg", "/p/b.jpg"}));
    EXPECT_EQ(dlg->HighlightedRow(), 0);
    EXPECT_EQ(dlg->Pages().current(), 0);
    Click(IDC_BTN_VIEW_IMAGE);
    EXPECT_EQ(toolkit.opened, (Strings{"open /p/c.jpg"}));

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"}));
    EXPECT_EQ(dlg->HighlightedRow(), 1);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Paths(), (Strings{"/p/c.jpg", "/p/a.jpg", "/p/b.jpg"}));
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Paths(), (Strings{"/p/c.jpg", "/p/a.jpg", "/p/b.jpg"}));
    EXPECT_EQ(dlg->HighlightedRow(), 0);
}

TEST_F(Rows, DroppedFilesAndFoldersAreSortedInNaturally) {
    QTemporaryDir scratch;
    QDir root(scratch.path());
    root.mkpath(QStringLiteral("扫描/inner"));
    for (const char *name : {"扫描/page-10.jpg", "扫描/page-2.TIF", "扫描/notes.txt",
                             "扫描/inner/page-3.jpg", "page-1.png", "readme.txt"}) {
        QFile file(root.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    AddRows({root.filePath(QStringLiteral("page-11.jpg")).toStdString()});
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(root.filePath(QStringLiteral("扫描"))),
                   QUrl::fromLocalFile(root.filePath(QStringLiteral("page-1.png"))),
                   QUrl::fromLocalFile(root.filePath(QStringLiteral("readme.txt")))});
    DropOn(List(), RowCentre(0), files);

    Strings expected;
    for (const char *name : {"page-1.png", "扫描/page-2.TIF", "扫描/page-10.jpg", "page-11.jpg"}) {
        expected.push_back(root.filePath(QString::fromUtf8(name)).toStdString());
    }
    EXPECT_EQ(Paths(), expected);
    EXPECT_EQ(dlg->Pages().current(), 3); // still on the row that was current
    EXPECT_EQ(dlg->ImageList().GetItemText(3, 0), "4");
}

} // namespace
