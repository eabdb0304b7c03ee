#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTimer>
#include <functional>

#include "app/CFolvaneDlg.h"
#include "app/CommandLine.h"
#include "app/Resource.h"
#include "platform/qt/QtDialog.h"
#include "platform/qt/QtListCtrl.h"
#include "platform/qt/QtToolkit.h"
#include "tests/qt/QtTestApp.h"
#include "tests/qt/Screenshots.h"
#include "tests/support/Files.h"

namespace {

// Answers the next modal message box or question with its first button and keeps its text.
void AnswerNextMessageBox(std::vector<std::string> &texts) {
    QTimer::singleShot(0, [&texts] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            return;
        }
        texts.push_back(box->windowTitle().toStdString() + "|" + box->text().toStdString());
        box->buttons().value(0)->click();
    });
}

class Window : public ::testing::Test {
protected:
    Window() : app(App()), dlg(toolkit) {
        dlg.Create();
        window = dynamic_cast<QtDialog *>(dlg.Peer());
        window->show();
        QApplication::processEvents();
    }

    template <class T> T *Widget(int id) { return qobject_cast<T *>(window->ControlWidget(id)); }
    QtListCtrl *List() { return Widget<QtListCtrl>(IDC_LIST_IMAGES); }
    void AddRows(const std::vector<std::string> &paths) { dlg.AppendFiles(paths); }

    QApplication &app;
    bool settingsCleared = (UseFreshSettings(), true);
    QtToolkit toolkit;
    CFolvaneDlg dlg;
    QtDialog *window = nullptr;
};

TEST_F(Window, ShowsEveryControlWithItsCaptionAndThe300RadioChecked) {
    EXPECT_EQ(window->windowTitle().toStdString(),
              "Folvane " + (versionText().substr(8, versionText().size() - 9)));
    const std::pair<int, const char *> buttons[] = {
        {IDC_BTN_ADD_IMAGES, "添加图片"}, {IDC_BTN_MOVE_UP, "上移"},
        {IDC_BTN_MOVE_DOWN, "下移"},      {IDC_BTN_MOVE_TOP, "置顶"},
        {IDC_BTN_MOVE_BOTTOM, "置底"},    {IDC_BTN_DELETE, "删除"},
        {IDC_BTN_CLEAR_LIST, "清空列表"}, {IDC_BTN_SORT_BY_NAME, "重新排序"},
        {IDC_BTN_VIEW_IMAGE, "查看图片"}, {IDC_BTN_BROWSE, "浏览"},
        {IDC_BTN_GENERATE, "生成PDF"},    {IDC_RADIO_200, "200万"},
        {IDC_RADIO_300, "300万"},         {IDC_RADIO_1600, "1600万"},
        {IDC_CHECK_OCR, "文字识别"},
    };
    for (const auto &[id, caption] : buttons) {
        ASSERT_NE(Widget<QAbstractButton>(id), nullptr) << id;
        EXPECT_EQ(Widget<QAbstractButton>(id)->text().toStdString(), caption);
        EXPECT_TRUE(Widget<QAbstractButton>(id)->isVisible());
    }
    EXPECT_EQ(Widget<QGroupBox>(IDC_GROUP_IMAGE_TYPE)->title().toStdString(), "图片类型");
    EXPECT_TRUE(Widget<QRadioButton>(IDC_RADIO_300)->isChecked());
    EXPECT_FALSE(Widget<QRadioButton>(IDC_RADIO_200)->isChecked());
    // The path is read only, not disabled: once chosen it reads as plain text; Tab passes it by.
    EXPECT_TRUE(Widget<QLineEdit>(IDC_EDIT_SAVE_PATH)->isEnabled());
    EXPECT_TRUE(Widget<QLineEdit>(IDC_EDIT_SAVE_PATH)->isReadOnly());
    EXPECT_EQ(Widget<QLineEdit>(IDC_EDIT_SAVE_PATH)->focusPolicy(), Qt::ClickFocus);
    EXPECT_EQ(List()->model()->headerData(0, Qt::Horizontal).toString().toStdString(), "序号");
    // The columns fill the list to its right edge.
    EXPECT_EQ(List()->columnWidth(0) + List()->columnWidth(1), List()->viewport()->width());
    EXPECT_TRUE(List()->showGrid());
    EXPECT_TRUE(QApplication::font().families().contains(QStringLiteral("Noto Sans CJK SC")));

    // The arrangement: the list left of the frame, the button row under both, the radios in one
    // row above them.
    const QRect list = List()->geometry();
    const QRect frame = window->ControlWidget(IDC_PREVIEW_FRAME)->geometry();
    EXPECT_LT(list.right(), frame.left());
    EXPECT_EQ(list.top(), frame.top());
    EXPECT_GT(frame.height(), frame.width());
    EXPECT_GT(window->ControlWidget(IDC_BTN_ADD_IMAGES)->geometry().top(), list.bottom());
    EXPECT_GE(window->ControlWidget(IDC_BTN_VIEW_IMAGE)->geometry().left(), frame.left());
    EXPECT_EQ(window->ControlWidget(IDC_RADIO_200)->geometry().top(),
              window->ControlWidget(IDC_RADIO_1600)->geometry().top());
    // "文字识别" stands whole between "浏览" and "生成PDF", on their row.
    QWidget *ocr = window->ControlWidget(IDC_CHECK_OCR);
    const QRect browse = window->ControlWidget(IDC_BTN_BROWSE)->geometry();
    const QRect generate = window->ControlWidget(IDC_BTN_GENERATE)->geometry();
    EXPECT_GT(ocr->geometry().left(), browse.right());
    EXPECT_LT(ocr->geometry().right(), generate.left());
    EXPECT_LE(ocr->sizeHint().width(), ocr->width());
    EXPECT_NEAR(ocr->geometry().center().y(), generate.center().y(), 1);
}

TEST_F(Window, ButtonsReachTheirCommands) {
    std::vector<std::string> texts;
    AnswerNextMessageBox(texts);
    Widget<QAbstractButton>(IDC_BTN_MOVE_UP)->click();
    EXPECT_EQ(texts, (std::vector<std::string>{std::string("系统提示|") + kMsgNoImages}));

    Widget<QAbstractButton>(IDC_RADIO_1600)->click();
    EXPECT_EQ(dlg.ImageType(), 5);
    EXPECT_FALSE(Widget<QRadioButton>(IDC_RADIO_300)->isChecked());

    AddRows({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"});
    List()->SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    Widget<QAbstractButton>(IDC_BTN_MOVE_TOP)->setFocus();
    Widget<QAbstractButton>(IDC_BTN_MOVE_TOP)->click();
    EXPECT_EQ(List()->GetItemText(0, 1), "/p/c.jpg");
    EXPECT_EQ(List()->GetItemText(2, 0), "3");
    EXPECT_EQ(dlg.HighlightedRow(), 0);
    EXPECT_EQ(window->focusWidget(), List()) << "the list takes the focus back from the button";

    Widget<QAbstractButton>(IDC_BTN_SORT_BY_NAME)->click();
    EXPECT_EQ(List()->GetItemText(0, 1), "/p/a.jpg");
    Widget<QAbstractButton>(IDC_BTN_CLEAR_LIST)->click();
    EXPECT_EQ(List()->GetItemCount(), 0);
    EXPECT_EQ(dlg.Pages().current(), -1);
}

void MouseClick(QWidget *target, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    const QPointF local(at);
    const QPointF global(target->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

TEST_F(Window, MouseClicksMakeRowsCurrentAndABlankClickKeepsTheHighlight) {
    AddRows({"/p/a.png", "/p/b.png", "/p/c.png"});
    QApplication::processEvents();
    const QPoint rowTwo = List()->visualRect(List()->model()->index(1, 1)).center();
    MouseClick(List()->viewport(), rowTwo);
    EXPECT_EQ(dlg.Pages().current(), 1);
    EXPECT_EQ(dlg.HighlightedRow(), 1);

    const QPoint below(rowTwo.x(), List()->viewport()->height() - 4);
    ASSERT_FALSE(List()->indexAt(below).isValid());
    MouseClick(List()->viewport(), below);
    EXPECT_EQ(dlg.Pages().current(), 1);
    EXPECT_EQ(dlg.HighlightedRow(), 1);

    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(List(), &down);
    EXPECT_EQ(dlg.HighlightedRow(), 2); // the keyboard moves the current row with the highlight
    EXPECT_EQ(dlg.Pages().current(), 2);
}

TEST_F(Window, ListStatesFollowTheListContract) {
    AddRows({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"});
    constexpr UINT kMark = LVIS_SELECTED | LVIS_FOCUSED;
    ASSERT_TRUE(List()->SetItemState(1, kMark, kMark));
    EXPECT_EQ(List()->GetItemState(1, kMark), kMark);
    List()->InsertItem(0, "x");
    EXPECT_EQ(dlg.HighlightedRow(), 2);
    EXPECT_EQ(List()->GetItemState(0, LVIS_SELECTED), 0u);
    List()->SetItemState(3, kMark, kMark);
    EXPECT_EQ(List()->GetItemState(2, LVIS_SELECTED), 0u);
    List()->DeleteItem(3);
    EXPECT_EQ(dlg.HighlightedRow(), -1);
    EXPECT_FALSE(List()->SetItemState(7, kMark, kMark));
    EXPECT_EQ(List()->GetItemText(9, 1), "");

    // A file name in another encoding comes back byte for byte.
    const std::string latin1 = "/p/caf\xE9.jpg";
    ASSERT_TRUE(List()->SetItemText(0, 1, latin1));
    EXPECT_EQ(List()->GetItemText(0, 1), latin1);
}

TEST_F(Window, EnterInTheListKeepsTheWindowOpen) {
    AddRows({"/p/a.jpg"});
    List()->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(List(), &enter);
    QApplication::processEvents();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(dlg.EndResult(), 0);
    EXPECT_EQ(List()->GetItemCount(), 1);

    // The list changed since the last PDF: Escape asks first.
    std::vector<std::string> asked;
    AnswerNextMessageBox(asked);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(List(), &escape);
    EXPECT_EQ(asked, (std::vector<std::string>{"系统提示|列表中有 1 张图片, 确定退出吗?"}));
    EXPECT_EQ(dlg.EndResult(), IDCANCEL);
}

TEST_F(Window, ExitFromTheContextMenuClosesTheWindowOnceTheHandlerReturned) {
    dlg.SendMessage(UiMessage{WM_COMMAND, ID_MENU_EXIT, 0, 0});
    EXPECT_EQ(dlg.EndResult(), 0);
    QApplication::processEvents();
    EXPECT_EQ(dlg.EndResult(), IDCANCEL);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(Window, HelpMenuHoldsTheAboutItem) {
    auto *bar = window->findChild<QMenuBar *>();
    ASSERT_NE(bar, nullptr);
    bool found = false;
    for (QAction *menu : bar->actions()) {
        for (QAction *item : menu->menu()->actions()) {
            found = found || item->text().toStdString() == "关于 Folvane(&A)...";
        }
    }
    EXPECT_TRUE(found);
}

// Runs answer on the next modal dialog of type T once it is up.
template <class T> void WhenModal(std::function<void(T &)> answer) {
    QTimer::singleShot(0, [answer] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            answer(*dialog);
        }
    });
}

class FileDialogs : public Window {
protected:
    FileDialogs() : dir(QString::fromStdString(scratch.Path())) {
        for (const char *name : {"b.jpeg", "a.JPG", "c.tif", "d.png"}) {
            support::WriteText(scratch / name, "");
        }
    }

    support::TempDir scratch;
    QDir dir;
};

TEST_F(FileDialogs, AddShowsJpegAndTiffFilesWhateverTheirCaseAndAddsTheChosenOnes) {
    QStringList filters;
    WhenModal<QFileDialog>([&](QFileDialog &dialog) {
        filters = dialog.nameFilters();
        dialog.setDirectory(dir);
        dialog.selectFile(QStringLiteral("\"b.jpeg\" \"a.JPG\""));
        static_cast<QDialog &>(dialog).accept(); // QFileDialog::accept checks the name
    });
    Widget<QAbstractButton>(IDC_BTN_ADD_IMAGES)->click();
    ASSERT_EQ(filters.size(), 1);
    EXPECT_TRUE(filters[0].startsWith(
        QStringLiteral("JPG,TIF,PNG,PDF文件(*.jpg;*.jpeg;*.tif;*.tiff;*.png;*.pdf)")));
    for (const char *pattern : {"*.[jJ][pP][gG]", "*.[jJ][pP][eE][gG]", "*.[tT][iI][fF]",
                                "*.[tT][iI][fF][fF]", "*.[pP][nN][gG]", "*.[pP][dD][fF]"}) {
        EXPECT_TRUE(filters[0].contains(QString::fromLatin1(pattern))) << pattern;
    }
    ASSERT_EQ(List()->GetItemCount(), 2);
    EXPECT_EQ(List()->GetItemText(0, 1), dir.filePath(QStringLiteral("a.JPG")).toStdString());
    EXPECT_EQ(List()->GetItemText(1, 1), dir.filePath(QStringLiteral("b.jpeg")).toStdString());
    EXPECT_EQ(dlg.Pages().current(), 0);
    EXPECT_EQ(dlg.HighlightedRow(), 0);
}

TEST_F(FileDialogs, SaveAppendsThePdfExtensionToABareName) {
    WhenModal<QFileDialog>([&](QFileDialog &dialog) {
        dialog.setDirectory(dir);
        dialog.selectFile(QStringLiteral("book"));
        static_cast<QDialog &>(dialog).accept(); // QFileDialog::accept checks the name
    });
    Widget<QAbstractButton>(IDC_BTN_BROWSE)->click();
    const std::string expected = dir.filePath(QStringLiteral("book.pdf")).toStdString();
    EXPECT_EQ(dlg.SavePath(), expected);
    EXPECT_EQ(Widget<QLineEdit>(IDC_EDIT_SAVE_PATH)->text().toStdString(), expected);

    // The dialog opens again on the chosen path and name.
    QString openedIn;
    QStringList named;
    WhenModal<QFileDialog>([&](QFileDialog &dialog) {
        openedIn = dialog.directory().path();
        named = dialog.selectedFiles();
        dialog.reject();
    });
    Widget<QAbstractButton>(IDC_BTN_BROWSE)->click();
    EXPECT_EQ(dlg.SavePath(), expected);
    EXPECT_EQ(openedIn, dir.path());
    EXPECT_EQ(named, QStringList{QString::fromStdString(expected)});
}

TEST_F(Window, ContextMenuAboutShowsTheAboutBox) {
    std::string title;
    std::vector<std::string> labels;
    WhenModal<QDialog>([&](QDialog &about) {
        title = about.windowTitle().toStdString();
        for (QLabel *label : about.findChildren<QLabel *>()) {
            labels.push_back(label->text().toStdString());
        }
        KeepScreenshot(about.grab().toImage(), "about.png");
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(&about, &enter);
    });
    dlg.SendMessage(UiMessage{WM_COMMAND, ID_MENU_ABOUT, 0, 0});
    EXPECT_EQ(title, "关于 Folvane");
    EXPECT_NE(std::find(labels.begin(), labels.end(),
                        "Folvane " + (versionText().substr(8, versionText().size() - 9)) + " 版"),
              labels.end());
    EXPECT_EQ(dlg.EndResult(), 0); // the main window stays
}

// The sample pages in a folder with a Chinese name, the first one previewed: the list shows a
// row of text for each page with the first one highlighted, and the frame shows the page.
TEST_F(Window, ShowsTheRowsAndThePreviewedPage) {
    support::TempDir scratch;
    AddRows(CopySamples(scratch, "扫描件"));
    List()->SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    dlg.SendMessage(UiMessage{WM_NOTIFY, IDC_LIST_IMAGES, NM_CLICK, 0});
    EXPECT_EQ(dlg.Pages().current(), 0);
    dlg.SetSavePath("/home/user/文档/合同.pdf");
    dlg.UpdateData(false);
    QApplication::processEvents();
    const QImage shot = window->grab().toImage();
    KeepScreenshot(shot, "window.png");

    // A path cell's rectangle in the screenshot.
    const auto cell = [&](int row) {
        const QRect inList = List()->visualRect(List()->model()->index(row, 1));
        return QRect(List()->viewport()->mapTo(window, inList.topLeft()), inList.size());
    };
    for (int row = 0; row < 3; ++row) {
        EXPECT_GT(InkPixels(shot, cell(row)), 100) << "no text in row " << row;
    }
    const QRect belowRows = cell(2).translated(0, 3 * cell(2).height());
    ASSERT_TRUE(List()->viewport()->rect().contains(
        List()->viewport()->mapFrom(window, belowRows.bottomRight())));
    EXPECT_EQ(InkPixels(shot, belowRows), 0);
    EXPECT_GT(ColourDistance(MeanColour(shot, cell(0)), MeanColour(shot, cell(1))), 40)
        << "the first row is not highlighted";

    QWidget *frame = window->ControlWidget(IDC_PREVIEW_FRAME);
    const QRect picture = CentralHalf(
        QRect(frame->mapTo(window, frame->contentsRect().topLeft()), frame->contentsRect().size()));
    EXPECT_LE(ColourDistance(MeanColour(shot, picture), SamplePageCentre()), 12);
}

} // namespace
