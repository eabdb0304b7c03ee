// "在空白页处分成多个文件" driven as a user does, in whichever language the window speaks: the
// box checked beside "跳过空白页", a PDF made of pages with blank backs between them, and the
// documents the success box names. Included by the language tests, which keep the screenshot.
#pragma once

#include <QAbstractButton>
#include <string>
#include <vector>

#include "app/CFolvaneDlg.h"
#include "app/Resource.h"
#include "platform/qt/QtDialog.h"
#include "tests/qt/RunWatcher.h"
#include "tests/qt/Screenshots.h"
#include "tests/support/Pdf.h"

// What a run of DriveSplitAtBlank saw.
struct SplitRun {
    std::string caption;            // the box's caption
    std::string tip;                // and its tool tip
    std::vector<std::string> boxes; // "caption|text" of each box the run showed
    std::vector<int> pages;         // the pages of each document written
    bool overlaps = false;          // the box overlaps another control
};

// Checks the box, keeps the window as `shot`, then makes `pdf` of the rows in the list (their
// blank rows already judged): the documents OUT-001.pdf, ... named from it.
inline SplitRun DriveSplitAtBlank(QtDialog *window, CFolvaneDlg &dlg, const std::string &pdf,
                                  const char *shot) {
    SplitRun run;
    auto *box = qobject_cast<QAbstractButton *>(window->ControlWidget(IDC_CHECK_SPLIT_BLANK));
    run.caption = box->text().toStdString();
    run.tip = box->toolTip().toStdString();
    box->click();
    for (QWidget *other : window->findChildren<QWidget *>()) {
        if (other != box && other->parentWidget() == box->parentWidget() && other->isVisible() &&
            other->geometry().intersects(box->geometry())) {
            run.overlaps = true;
        }
    }
    KeepScreenshot(window->grab().toImage(), shot);
    dlg.SetSavePath(pdf);
    dlg.UpdateData(false);
    RunWatcher watcher;
    qobject_cast<QAbstractButton *>(window->ControlWidget(IDC_BTN_GENERATE))->click();
    run.boxes = watcher.boxes;
    const std::string stem = pdf.substr(0, pdf.size() - 4);
    for (int i = 1; i < 10; ++i) {
        const std::string member = stem + "-00" + std::to_string(i) + ".pdf";
        if (!support::QpdfCheck(member)) {
            break;
        }
        run.pages.push_back(support::PageCount(member));
    }
    return run;
}
