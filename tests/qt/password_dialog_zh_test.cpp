// The password dialog in Chinese (CTest runs this program with LANG=zh_CN.UTF-8): the passwords
// typed hidden, a mismatch refused with a box, and the PDF locked as chosen.

#include "tests/qt/LanguageChecks.h"
#include "tests/qt/PasswordDialogChecks.h"

namespace {

const auto *const kLanguage = ::testing::AddGlobalTestEnvironment(new StartUpLanguage);

TEST_F(PasswordWindow, TheTypedPasswordsLockThePdfAndAMismatchIsRefused) {
    Prepare();
    std::vector<std::string> refusals;
    bool hidden = false;
    std::string caption;
    WhenModal<QtDialog>([&](QtDialog &dialog) {
        caption = dialog.windowTitle().toStdString();
        hidden = Field(dialog, IDC_PASSWORD_USER)->echoMode() == QLineEdit::Password &&
                 Field(dialog, IDC_PASSWORD_OWNER)->echoMode() == QLineEdit::Password;
        Type(dialog, "工资单 2026", "工资单 2025", "");
        AnswerNextBox(refusals);
        Press(dialog, IDOK); // refused: the dialog stays
        Type(dialog, "工资单 2026", "工资单 2026", "owner");
        qobject_cast<QAbstractButton *>(dialog.ControlWidget(IDC_PASSWORD_PRINT))->click();
        KeepScreenshotOver(window, &dialog, "password-dialog-zh.png");
        Press(dialog, IDOK);
    });
    RunWatcher watcher;
    Click(IDC_BTN_GENERATE);

    EXPECT_EQ(caption, "加密");
    EXPECT_TRUE(hidden);
    EXPECT_EQ(refusals, (std::vector<std::string>{"系统提示|两次输入的打开密码不一致。"}));
    EXPECT_EQ(QpdfCheck("工资单 2026"), 0);
    EXPECT_EQ(QpdfCheck("owner"), 0);
    EXPECT_NE(QpdfCheck(""), 0);
    const std::string shown = Encryption("工资单 2026");
    EXPECT_NE(shown.find("R = 6"), std::string::npos) << shown;
    EXPECT_NE(shown.find("print high resolution: not allowed"), std::string::npos) << shown;
    EXPECT_NE(shown.find("extract for any purpose: allowed"), std::string::npos) << shown;
}

TEST_F(PasswordWindow, CancelWritesNothing) {
    Prepare();
    WhenModal<QtDialog>([&](QtDialog &dialog) { Press(dialog, IDCANCEL); });
    Click(IDC_BTN_GENERATE);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.pdf"));
}

} // namespace
