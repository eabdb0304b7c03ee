// What the real window keeps between runs and what it asks before a list is thrown away.

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QRadioButton>
#include <QScreen>

#include "app/CFolvaneApp.h"
#include "platform/qt/PreviewFrame.h"
#include "tests/qt/Screenshots.h"
#include "tests/qt/WindowFixture.h"
#include "tests/support/Process.h"

namespace {

using Strings = std::vector<std::string>;

class Session : public WindowFixture {};

TEST_F(Session, TheChosenClassSurvivesARestartOfTheWindow) {
    EXPECT_TRUE(Widget<QRadioButton>(IDC_RADIO_300)->isChecked());
    Click(IDC_RADIO_1600);
    Close();
    Open();
    EXPECT_EQ(dlg->ImageType(), 5);
    EXPECT_TRUE(Widget<QRadioButton>(IDC_RADIO_1600)->isChecked());
    EXPECT_FALSE(Widget<QRadioButton>(IDC_RADIO_300)->isChecked());

    Click(IDC_RADIO_FIT);
    Close();
    NotingToolkit another; // a new start of the program reads the same place
    CFolvaneDlg next(another);
    next.Create();
    EXPECT_EQ(next.ImageType(), 6);
    EXPECT_TRUE(qobject_cast<QRadioButton *>(
                    dynamic_cast<QtDialog *>(next.Peer())->ControlWidget(IDC_RADIO_FIT))
                    ->isChecked());
}

TEST_F(Session, TextRecognitionIsOffAtFirstAndACheckSurvivesARestart) {
    auto *check = Widget<QCheckBox>(IDC_CHECK_OCR);
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->text(), QStringLiteral("文字识别"));
    EXPECT_FALSE(check->isChecked());
    MouseClick(check, check->rect().center());
    EXPECT_TRUE(dlg->Ocr());
    Close();
    Open();
    EXPECT_TRUE(dlg->Ocr());
    EXPECT_TRUE(Widget<QCheckBox>(IDC_CHECK_OCR)->isChecked());
}

TEST_F(Session, TheAddDialogOpensWhereTheLastFilesCameFrom) {
    const QString folder = QDir::temp().filePath(QStringLiteral("folvane-session-扫描"));
    QDir(folder).mkpath(QStringLiteral("."));
    toolkit.Settings().Write("window/addFolder", QFile::encodeName(folder).toStdString());
    QString opened;
    WhenModal<QFileDialog>([&opened](QFileDialog &dialog) {
        opened = dialog.directory().path();
        dialog.reject();
    });
    Click(IDC_BTN_ADD_IMAGES);
    EXPECT_EQ(opened, folder);
    QDir(folder).removeRecursively();
}

TEST_F(Session, EscapeAndTheCloseBoxAskBeforeAChangedListIsThrownAway) {
    support::TempDir home;
    AddRows(CopySamples(home, "扫描件"));
    Strings asked;
    AnswerNextBox(asked, "取消");
    Key(Qt::Key_Escape);
    EXPECT_EQ(asked, (Strings{"系统提示|列表中有 3 张图片, 确定退出吗?"}));
    EXPECT_EQ(dlg->EndResult(), 0);
    EXPECT_TRUE(window->isVisible());

    // The close box asks the same; 确定 ends the program.
    std::vector<std::string> buttons;
    WhenModal<QMessageBox>([this, &buttons](QMessageBox &box) {
        KeepScreenshotOver(window, &box, "confirm-exit.png");
        for (QAbstractButton *button : box.buttons()) {
            buttons.push_back(button->text().toStdString());
        }
        box.buttons().value(0)->click();
    });
    window->close();
    EXPECT_EQ(buttons, (Strings{"确定", "取消"}));
    EXPECT_EQ(dlg->EndResult(), IDCANCEL);
}

// `folvane FILE...`, as a file manager's "Open with" starts it: the window opens with those files
// in the order given, the first one highlighted.
TEST_F(Session, FilesOnTheCommandLineOpenInTheListInTheirOrder) {
    support::TempDir home;
    const Strings samples = CopySamples(home, "扫描件");
    const Strings given = {samples[2], samples[0], samples[1]};
    Strings rows;
    int highlighted = -1;
    Strings asked;
    WhenModal<QtDialog>([&](QtDialog &started) {
        auto *list = qobject_cast<QtListCtrl *>(started.ControlWidget(IDC_LIST_IMAGES));
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            rows.push_back(list->model()->index(row, 1).data().toString().toStdString());
        }
        highlighted = list->currentIndex().row();
        AnswerNextBox(asked, "确定");
        started.close();
    });
    theApp.SetArguments(given);
    theApp.Run(toolkit);
    theApp.SetArguments({});

    EXPECT_EQ(rows, given);
    EXPECT_EQ(highlighted, 0);
    EXPECT_EQ(asked, (Strings{"系统提示|列表中有 3 张图片, 确定退出吗?"}));
}

// The bounding box of the sheet's grey outline in a grab of the preview frame.
QRect SheetOutline(QWidget *frame) {
    const QImage shot = frame->grab().toImage();
    QRect box;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (shot.pixel(x, y) == qRgb(150, 150, 150)) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

// Waits for the window to tell the dialog its new size (once the resize burst is over).
void LetTheResizeArrive() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }
}

// The window grows: the preview takes most of the room and draws the page at the frame's new
// size; the list takes the rest. Its size and whether it is maximised are there at the next start;
// it never gets smaller than the original layout.
TEST_F(Session, AResizedWindowShowsALargerPreviewAndIsRememberedSo) {
    support::TempDir home;
    AddRows(CopySamples(home, "扫描件"));
    QWidget *frame = window->ControlWidget(IDC_PREVIEW_FRAME);
    const QSize least = window->size();
    const QRect sheet = SheetOutline(frame);
    const QSize list = List()->size();
    const QSize frameSize = frame->size();
    ASSERT_FALSE(sheet.isEmpty());

    window->resize(least.width() + 45, least.height() + 150);
    LetTheResizeArrive();
    EXPECT_EQ(frame->size(), frameSize + QSize(30, 150));
    EXPECT_EQ(List()->size(), list + QSize(15, 150));
    const QRect grown = SheetOutline(frame);
    EXPECT_GT(grown.width(), sheet.width() * 6 / 5) << "the page is not drawn larger";
    EXPECT_GT(grown.height(), sheet.height() * 6 / 5) << "the page is not drawn larger";
    EXPECT_NEAR(double(grown.width()) / grown.height(), double(sheet.width()) / sheet.height(),
                0.02);

    window->resize(100, 100);
    EXPECT_EQ(window->size(), least) << "smaller than the original layout";

    window->resize(least.width() + 45, least.height() + 150);
    LetTheResizeArrive();
    Strings asked;
    AnswerNextBox(asked, "确定");
    window->close();
    Open();
    // Remembered, as far as this screen holds it (the test screen may be narrower than the
    // window), and never below the original layout.
    const QSize remembered = QSize(least.width() + 45, least.height() + 150)
                                 .boundedTo(window->screen()->availableGeometry().size())
                                 .expandedTo(least);
    EXPECT_EQ(window->size(), remembered);
    EXPECT_FALSE(window->isMaximized());

    window->showMaximized();
    LetTheResizeArrive();
    window->close();
    Open();
    EXPECT_TRUE(window->isMaximized());
}

// A large window as a user keeps it for photographed pages, for the README.
TEST_F(Session, AWideWindowGivesThePreviewTheRoom) {
    support::TempDir home;
    AddRows(CopySamples(home, "扫描件"));
    dlg->SetSavePath("/home/user/文档/合同.pdf");
    dlg->UpdateData(false);
    QWidget *frame = window->ControlWidget(IDC_PREVIEW_FRAME);
    const QSize list = List()->size();
    const QSize frameSize = frame->size();
    window->resize(1200, 760);
    LetTheResizeArrive();
    // The preview takes twice the width the list takes.
    EXPECT_NEAR(frame->width() - frameSize.width(), 2 * (List()->width() - list.width()), 1);
    EXPECT_GT(SheetOutline(frame).height(), frame->height() - 12) << "the sheet fills the frame";
    KeepScreenshot(window->grab().toImage(), "window-resized.png");
}

// `folvane --help` and `folvane --version` answer on the terminal and end, also without a display;
// a wrong option is said, with exit status 2, instead of becoming a row.
TEST(CommandLine, HelpAndVersionPrintAndEndWithoutAWindow) {
    const std::string program = support::Quote(std::string(FOLVANE_BIN_DIR) + "/folvane");
    // In English: what each language says is the language tests' concern.
    const std::string noDisplay =
        "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u LANGUAGE "
        "-u LC_ALL -u LC_MESSAGES LANG=en_US.UTF-8 ";
    const support::RunResult help = support::RunShell(noDisplay + program + " --help");
    EXPECT_EQ(help.exitCode, 0) << help.err;
    EXPECT_EQ(help.out.rfind("usage: folvane [FILE|FOLDER...]\n", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("--version"), std::string::npos);
    EXPECT_EQ(help.err, "");
    const support::RunResult version = support::RunShell(noDisplay + program + " -h --version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("usage: folvane", 0), 0u) << "the first asked for wins";
    const support::RunResult only = support::RunShell(noDisplay + program + " --version");
    EXPECT_EQ(only.out.rfind("folvane ", 0), 0u);

    const support::RunResult wrong =
        support::RunShell("env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=en_US.UTF-8 " + program +
                          " -platform offscreen --frob");
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_NE(wrong.err.find("folvane: unknown option --frob"), std::string::npos) << wrong.err;
    EXPECT_EQ(wrong.out, "");
}

// Without a display the window cannot open: one sentence and exit status 1, not Qt's abort.
TEST(CommandLine, WithoutADisplayTheWindowSaysSoAndEndsWithOne) {
    const std::string program = support::Quote(std::string(FOLVANE_BIN_DIR) + "/folvane");
    const std::string sample =
        support::Quote(std::string(FOLVANE_SOURCE_DIR) + "/res/samples/page-1.jpg");
    const support::RunResult r = support::RunShell(
        "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb " + program + " " + sample);
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_NE(r.err.find("folvane: cannot open the window: no display"), std::string::npos)
        << r.err;
}

} // namespace
