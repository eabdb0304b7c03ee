#include "tests/app/DialogFixture.h"

#include <chrono>

DialogFixture::DialogFixture() {
    dlg.Create();
}

void DialogFixture::Add(const std::vector<std::string> &paths) {
    ui.openAnswers.push_back(paths);
    Click(IDC_BTN_ADD_IMAGES);
}

void DialogFixture::ClickRow(int row) {
    List().UserHighlight(row);
    Window().Notify(IDC_LIST_IMAGES, NM_CLICK);
}

std::vector<std::string> DialogFixture::Paths() {
    std::vector<std::string> paths;
    for (int i = 0; i < List().GetItemCount(); ++i) {
        paths.push_back(List().GetItemText(i, 1));
    }
    return paths;
}

std::vector<std::string> DialogFixture::Numbers() {
    std::vector<std::string> numbers;
    for (int i = 0; i < List().GetItemCount(); ++i) {
        numbers.push_back(List().GetItemText(i, 0));
    }
    return numbers;
}

void DialogFixture::SettleChecks() {
    for (int i = 0; i < 1000 && dlg.ChecksPending(); ++i) {
        ui.WaitForPosted(std::chrono::milliseconds(10));
        ui.RunPosted();
    }
    ASSERT_FALSE(dlg.ChecksPending());
}
