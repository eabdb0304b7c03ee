#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CFolvaneDlg.h"
#include "app/Resource.h"
#include "platform/ui/HeadlessDialog.h"
#include "platform/ui/HeadlessToolkit.h"

// The main dialog with its preview recorded instead of drawn: every ShowPreview call keeps the
// path it was given. The commands themselves run unchanged.
class RecordingDlg : public CFolvaneDlg {
public:
    using CFolvaneDlg::CFolvaneDlg;
    void ShowPreview(std::string path) override { previews.push_back(path); }
    std::vector<std::string> previews;
};

// A running main dialog on the headless toolkit, with helpers for what the user does.
class DialogFixture : public ::testing::Test {
protected:
    DialogFixture();

    HeadlessDialog &Window() { return *ui.Dialog(IDD_FOLVANE_DIALOG); }
    HeadlessListCtrl &List() { return *Window().List(IDC_LIST_IMAGES); }
    void Click(int id) { Window().Click(id); }
    // Adds files through the open dialog as the user would choose them.
    void Add(const std::vector<std::string> &paths);
    // The user clicks a row (-1: below the last row).
    void ClickRow(int row);
    std::vector<std::string> Paths();
    std::vector<std::string> Numbers();
    std::vector<std::string> Messages() { return ui.MessageTexts(); }
    // Lets the background checks of the rows' files finish and reach the window.
    void SettleChecks();

    // The toolkit holds the application icon before the dialog loads it.
    HeadlessToolkit ui = [] {
        HeadlessToolkit toolkit;
        toolkit.icons = {IDR_MAINFRAME};
        return toolkit;
    }();
    RecordingDlg dlg{ui};
};
