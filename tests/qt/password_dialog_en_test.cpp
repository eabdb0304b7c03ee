// The password dialog in English (CTest runs this program with LANG=en_US.UTF-8): its captions
// translated and fitting, and the PDF locked with what was typed.

#include <QLabel>

#include "tests/qt/LanguageChecks.h"
#include "tests/qt/PasswordDialogChecks.h"

namespace {

const auto *const kLanguage = ::testing::AddGlobalTestEnvironment(new StartUpLanguage);

TEST_F(PasswordWindow, TheDialogSpeaksEnglishAndLocksThePdf) {
    Prepare();
    EXPECT_EQ(Widget<QAbstractButton>(IDC_CHECK_ENCRYPT)->text().toStdString(), "Encrypt");
    std::vector<std::string> chinese;
    WhenModal<QtDialog>([&](QtDialog &dialog) {
        for (QWidget *child : dialog.findChildren<QWidget *>()) {
            QString text;
            if (auto *label = qobject_cast<QLabel *>(child)) {
                text = label->text();
            } else if (auto *button = qobject_cast<QAbstractButton *>(child)) {
                text = button->text();
            }
            if (HasChinese(text)) {
                chinese.push_back(text.toStdString());
            }
        }
        Type(dialog, "payslip", "payslip", "");
        KeepScreenshotOver(window, &dialog, "password-dialog-en.png");
        Press(dialog, IDOK);
    });
    RunWatcher watcher;
    Click(IDC_BTN_GENERATE);

    EXPECT_TRUE(chinese.empty()) << chinese.front();
    EXPECT_EQ(QpdfCheck("payslip"), 0);
    EXPECT_NE(QpdfCheck(""), 0);
}

} // namespace
