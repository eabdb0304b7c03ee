// "加密" in the real window: the check box, the password dialog it opens at "生成PDF", and the
// locked PDF written with what was typed there. Include from one source file per program.
#pragma once

#include <QLineEdit>
#include <string>

#include "app/Resource.h"
#include "tests/qt/RunWatcher.h"
#include "tests/qt/Screenshots.h"
#include "tests/qt/WindowFixture.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Process.h"

class PasswordWindow : public WindowFixture {
protected:
    // One page in the list, saved to out.pdf, "加密" ticked.
    void Prepare() {
        support::WriteFile(dir / "page.jpg", support::MakeJpeg(support::Pattern(48, 64, 3)));
        AddRows({dir / "page.jpg"});
        dlg->SetSavePath(dir / "out.pdf");
        dlg->UpdateData(false);
        Click(IDC_CHECK_ENCRYPT);
    }
    static QLineEdit *Field(QtDialog &dialog, int id) {
        return qobject_cast<QLineEdit *>(dialog.ControlWidget(id));
    }
    // Types the passwords into the dialog.
    static void Type(QtDialog &dialog, const std::string &user, const std::string &confirm,
                     const std::string &owner) {
        Field(dialog, IDC_PASSWORD_USER)->setText(QString::fromStdString(user));
        Field(dialog, IDC_PASSWORD_CONFIRM)->setText(QString::fromStdString(confirm));
        Field(dialog, IDC_PASSWORD_OWNER)->setText(QString::fromStdString(owner));
    }
    static void Press(QtDialog &dialog, int id) {
        qobject_cast<QAbstractButton *>(dialog.ControlWidget(id))->click();
    }
    int QpdfCheck(const std::string &password) {
        return support::RunShell("qpdf --check --password=" + support::Quote(password) + " " +
                                 support::Quote(dir / "out.pdf"))
            .exitCode;
    }
    std::string Encryption(const std::string &password) {
        return support::RunShell("qpdf --show-encryption --password=" + support::Quote(password) +
                                 " " + support::Quote(dir / "out.pdf"))
            .out;
    }

    support::TempDir dir;
};
