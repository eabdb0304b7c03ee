#include "tests/app/ScanWindowFixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

ScanWindowFixture::ScanWindowFixture() {
    scan_test::UseTestDriver();
    ::setenv("XDG_PICTURES_DIR", pictures.Path().c_str(), 1);
    dlg.Scanners() = scan_window_test::TestScanners(script);
}

ScanWindowFixture::~ScanWindowFixture() {
    ::unsetenv("XDG_PICTURES_DIR");
}

bool ScanWindowFixture::RunPostedUntil(const std::function<bool()> &done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) {
            return false;
        }
        ui.WaitForPosted(std::chrono::milliseconds(10));
        ui.RunPosted();
    }
    return true;
}

void ScanWindowFixture::Scan(const std::vector<Choice> &choices, bool cancel) {
    ui.onModal = [this, choices, cancel](HeadlessDialog &dialog) {
        if (dialog.Template().id != IDD_SCAN_DIALOG) {
            return;
        }
        if (inScanDialog) {
            inScanDialog(dialog);
        }
        // Until the scanner's offer is in, or a box said why it is not.
        const std::size_t boxes = Messages().size();
        const std::size_t questions = ui.Events(UiEvent::Kind::Question).size();
        ASSERT_TRUE(RunPostedUntil([&] {
            return dialog.Wnd(IDOK)->IsWindowEnabled() || Messages().size() > boxes ||
                   ui.Events(UiEvent::Kind::Question).size() > questions;
        }));
        for (const auto &[id, item] : choices) {
            const std::vector<std::string> items = Items(dialog, id);
            const auto found = std::find(items.begin(), items.end(), item);
            ASSERT_NE(found, items.end()) << item;
            dialog.ChooseItem(id, static_cast<int>(found - items.begin()));
            // Another scanner's offer comes from the scanner thread.
            ASSERT_TRUE(RunPostedUntil([&] { return dialog.Wnd(IDOK)->IsWindowEnabled(); }));
        }
        if (!dialog.Ended()) {
            cancel ? dialog.PressEscape() : dialog.Click(IDOK);
        }
    };
    Click(IDC_BTN_SCAN);
    ui.onModal = nullptr;
}

std::vector<std::string> ScanWindowFixture::Items(HeadlessDialog &dialog, int id) {
    return dialog.Combo(id)->Items();
}

std::string ScanWindowFixture::Chosen(HeadlessDialog &dialog, int id) {
    return dialog.Combo(id)->GetWindowText();
}

std::vector<std::string> ScanWindowFixture::SessionFolders() {
    std::vector<std::string> folders;
    std::error_code ec;
    for (const auto &entry :
         std::filesystem::directory_iterator(pictures.Path() + "/Folvane", ec)) {
        folders.push_back(entry.path().string());
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

std::vector<std::string> ScanWindowFixture::ProgressTexts() {
    std::vector<std::string> texts;
    for (const UiEvent &event : ui.Events(UiEvent::Kind::Progress)) {
        const std::string text = event.text.substr(0, event.text.find('|'));
        if (texts.empty() || texts.back() != text) {
            texts.push_back(text);
        }
    }
    return texts;
}
