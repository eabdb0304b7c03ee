// The main dialog on the headless toolkit with scanning over SANE's test driver: the pages go to
// a pictures folder of the test's own, and the scan dialog is answered as a user would.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/app/DialogFixture.h"
#include "tests/app/TestScanners.h"
#include "tests/support/Files.h"

class ScanWindowFixture : public DialogFixture {
protected:
    ScanWindowFixture();
    ~ScanWindowFixture() override;

    // A drop-down list's choice in the scan dialog: the list and the item's text.
    using Choice = std::pair<int, std::string>;

    // Presses "扫描"; once the scanner's offer is in the scan dialog, makes the choices and
    // presses the dialog's "扫描" (or, with `cancel`, its "取消").
    void Scan(const std::vector<Choice> &choices, bool cancel = false);
    // Runs what the scanner thread hands back until done() holds or ten seconds have passed;
    // false then.
    bool RunPostedUntil(const std::function<bool()> &done);
    HeadlessDialog *ScanDialog() { return ui.Dialog(IDD_SCAN_DIALOG); }
    // The items of one of the scan dialog's lists, and the chosen one's text.
    std::vector<std::string> Items(HeadlessDialog &dialog, int id);
    std::string Chosen(HeadlessDialog &dialog, int id);
    // The folders made for scans under the pictures folder.
    std::vector<std::string> SessionFolders();
    std::vector<std::string> ProgressTexts();

    std::shared_ptr<scan_window_test::DriverScript> script =
        std::make_shared<scan_window_test::DriverScript>();
    support::TempDir pictures;
    // Runs in the scan dialog before the choices are made (the dialog, not yet answered).
    std::function<void(HeadlessDialog &)> inScanDialog;
};
