// What the real window keeps between runs and what it asks before a list is thrown away.

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QRadioButton>

#include "app/CFolvaneApp.h"
#include "tests/qt/Screenshots.h"
#include "tests/qt/WindowFixture.h"

namespace {

using Strings = std::vector<std::string>;

class Session : public WindowFixture {};

TEST_F(Session, TheChosenClassSurvivesARestartOfTheWindow) {
    EXPECT_TRUE(Widget<QRadioButton>(IDC_RADIO_300)->isChecked());
    Click(IDC_RADIO_1600);
    Close();
    Open();
    EXPECT_EQ(dlg->m_nImageType, 5);
    EXPECT_TRUE(Widget<QRadioButton>(IDC_RADIO_1600)->isChecked());
    EXPECT_FALSE(Widget<QRadioButton>(IDC_RADIO_300)->isChecked());

    Click(IDC_RADIO_FIT);
    Close();
    NotingToolkit another; // a new start of the program reads the same place
    CFolvaneDlg next(another);
    next.Create();
    EXPECT_EQ(next.m_nImageType, 6);
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
    EXPECT_TRUE(dlg->m_bOcr);
    Close();
    Open();
    EXPECT_TRUE(dlg->m_bOcr);
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

} // namespace
