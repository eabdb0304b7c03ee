// Blank pages in the window: the pre-flight marks a blank row in the list and its tool tip, and
// "跳过空白页" (remembered, off at first) leaves it out of the PDF, with the count in the success
// box.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "app/Resource.h"
#include "tests/app/DialogFixture.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"

namespace {

using namespace support;
using Strings = std::vector<std::string>;

// A scanned sheet with grain, and with a word on it when `marked`.
Picture Sheet(bool marked) {
    Picture picture = Blank(420, 594, 1);
    uint32_t random = 11;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            random = random * 1664525u + 1013904223u;
            const bool ink = marked && x >= 180 && x < 240 && y >= 300 && y < 310;
            picture.At(x, y, 0) = static_cast<uint8_t>(ink ? 50 : 228 + (random >> 16) % 7);
        }
    }
    return picture;
}

class BlankPages : public DialogFixture {
protected:
    BlankPages() {
        WriteFile(dir / "blank.jpg", MakeJpeg(Sheet(false)));
        WriteFile(dir / "word.jpg", MakeJpeg(Sheet(true)));
    }
    void Settle() {
        SettleChecks();
        for (int i = 0; i < 1000 && dlg.BlankChecksPending(); ++i) {
            ui.WaitForPosted(std::chrono::milliseconds(10));
            ui.RunPosted();
        }
        ASSERT_FALSE(dlg.BlankChecksPending());
    }
    std::string Row(int row) { return List().GetItemText(row, 1); }
    std::string Tip(int row) { return List().GetItemToolTip(row); }

    TempDir dir;
};

TEST_F(BlankPages, TheBlankRowIsMarkedInTheListAndItsToolTip) {
    Add({dir / "word.jpg", dir / "blank.jpg"}); // sorted in by name: blank.jpg first
    Settle();
    EXPECT_EQ(Row(0), "【空白页】" + dir / "blank.jpg");
    EXPECT_EQ(Row(1), dir / "word.jpg");
    EXPECT_EQ(Tip(0).rfind("空白页: ", 0), 0u) << Tip(0);
    EXPECT_EQ(Tip(1).find("空白页"), std::string::npos);
    // The mark moves with its row.
    ClickRow(0);
    Click(IDC_BTN_MOVE_BOTTOM);
    EXPECT_EQ(Row(0), dir / "word.jpg");
    EXPECT_EQ(Row(1), "【空白页】" + dir / "blank.jpg");
}

TEST_F(BlankPages, SkipBlankStartsOffLeavesBlankPagesOutAndIsRemembered) {
    Add({dir / "blank.jpg", dir / "word.jpg", dir / "blank.jpg"});
    Settle();
    const std::string pdf = dir / "out.pdf";
    ui.saveAnswers.push_back(pdf);
    Click(IDC_BTN_BROWSE);

    EXPECT_FALSE(dlg.SkipBlank());
    Click(IDC_BTN_GENERATE);
    EXPECT_EQ(PageCount(pdf), 3);

    Click(IDC_CHECK_SKIP_BLANK);
    EXPECT_TRUE(dlg.SkipBlank());
    EXPECT_EQ(ui.settings.Read("window/skipBlank"), "1");
    Click(IDC_BTN_GENERATE);
    EXPECT_EQ(PageCount(pdf), 1);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[1],
              std::string(kMsgSuccess) + "\n共 1 页, 已保存到 " + pdf + "\n跳过了 2 个空白页");
}

TEST_F(BlankPages, EveryPageBlankIsAFailureAndNoFile) {
    Add({dir / "blank.jpg"});
    Settle();
    const std::string pdf = dir / "out.pdf";
    ui.saveAnswers.push_back(pdf);
    Click(IDC_BTN_BROWSE);
    Click(IDC_CHECK_SKIP_BLANK);
    Click(IDC_BTN_GENERATE);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("每一页都是空白页"), std::string::npos) << Messages()[0];
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

} // namespace
