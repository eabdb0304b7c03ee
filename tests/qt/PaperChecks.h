// The paper choice and "文档属性" driven as a user does, in whichever language the window speaks:
// a paper picked beside the classes, properties typed (one refused first), and the PDF made
// with both. Included by the language tests, which keep the screenshots for the docs.
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <string>
#include <vector>

#include "platform/qt/QtDialog.h"
#include "tests/qt/RunWatcher.h"
#include "tests/qt/Screenshots.h"
#include "tests/qt/WindowFixture.h"
#include "tests/support/Pdf.h"
#include "tests/support/Process.h"

// What a run of DrivePaperAndProperties saw.
struct PaperRun {
    std::string paperShown;            // the paper's name as the list shows it
    std::vector<std::string> refusals; // "caption|text" of each box "文档属性" showed
    std::vector<std::string> boxes;    // and of each box the run showed
    bool stayedOpen = false;           // the dialog stayed open after a refused property
    std::string info;                  // pdfinfo's report of the PDF made
    std::vector<support::PageSize> pages;
};

// Picks `paper` (0..6) in "纸张", types the properties into "文档属性" (a title with a tab
// first, which is refused), then makes `pdf` of the rows in the list.
inline PaperRun DrivePaperAndProperties(QtDialog *window, CFolvaneDlg &dlg, int paper,
                                        const std::string &pdf, const char *paperShot,
                                        const char *propertiesShot) {
    PaperRun run;
    auto *choice = qobject_cast<QComboBox *>(window->ControlWidget(IDC_COMBO_PAPER));
    choice->setCurrentIndex(paper);
    emit choice->activated(paper);
    run.paperShown = choice->currentText().toStdString();
    KeepScreenshot(window->grab().toImage(), paperShot);

    dlg.SetSavePath(pdf);
    dlg.UpdateData(false);
    WhenModal<QtDialog>([&](QtDialog &dialog) {
        const auto field = [&dialog](int id) {
            return qobject_cast<QLineEdit *>(dialog.ControlWidget(id));
        };
        field(IDC_PROPERTY_TITLE)->setText(QString::fromUtf8("季度报告"));
        field(IDC_PROPERTY_AUTHOR)->setText(QString::fromUtf8("张三"));
        field(IDC_PROPERTY_SUBJECT)->setText(QStringLiteral("Payslips"));
        field(IDC_PROPERTY_KEYWORDS)->setText(QString::fromUtf8("工资, 2026"));
        KeepScreenshotOver(window, &dialog, propertiesShot);
        field(IDC_PROPERTY_TITLE)->setText(QString::fromUtf8("季度\t报告"));
        AnswerNextBox(run.refusals);
        qobject_cast<QPushButton *>(dialog.ControlWidget(IDOK))->click();
        run.stayedOpen = dialog.isVisible();
        field(IDC_PROPERTY_TITLE)->setText(QString::fromUtf8("季度报告"));
        qobject_cast<QPushButton *>(dialog.ControlWidget(IDOK))->click();
    });
    dlg.SendMessage(UiMessage{WM_COMMAND, ID_MENU_PROPERTIES, 0, 0});
    RunWatcher watcher;
    qobject_cast<QAbstractButton *>(window->ControlWidget(IDC_BTN_GENERATE))->click();
    run.boxes = watcher.boxes;
    run.info = support::RunProgram({"pdfinfo", "-enc", "UTF-8", pdf}).out;
    run.pages = support::PageSizes(pdf);
    return run;
}
