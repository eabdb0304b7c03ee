// "向左旋转" and "向右旋转" in the headless window: the current page turns a quarter with Ctrl+L,
// Ctrl+R or the right-click menu, its tool tip and preview follow, undo takes it back, and a file
// gone since it was added is named with its reason while its page stays as it was.

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>

#include "tests/app/DialogFixture.h"

namespace {

using Strings = std::vector<std::string>;
using namespace std::chrono_literals;

constexpr COLORREF kRed = ui::RGB(204, 0, 0);

class Turns : public DialogFixture {
protected:
    Turns() {
        dlg.SetInspect([this](const std::string &path) {
            folvane::ImageFacts facts;
            if (gone.count(path)) {
                facts.problem.kind = folvane::Problem::Kind::CannotOpen;
                facts.problem.file = path;
                facts.problem.detail = "No such file or directory";
                return facts;
            }
            facts.ok = true;
            facts.kind = "JPEG";
            facts.pages = 1;
            facts.width = 2000;
            facts.height = 1200;
            facts.intake = folvane::ImageFacts::Intake::Copied;
            return facts;
        });
    }

    void Settle() {
        for (int i = 0; i < 500 && dlg.ChecksPending(); ++i) {
            ui.WaitForPosted(10ms);
            ui.RunPosted();
        }
        ASSERT_FALSE(dlg.ChecksPending());
    }
    int TurnsOf(int row) { return dlg.Pages().at(row).shape.edits.quarterTurns; }
    std::string Tip(int row) { return List().GetItemToolTip(row); }
    // The right-click menu's texts from "下移" to its end.
    Strings MenuAfterMoveDown() {
        ui.menuAnswers = {0};
        Window().RightClickRow(IDC_LIST_IMAGES, List().HighlightedRow());
        Strings texts;
        bool after = false;
        for (const MenuItem &item : Window().LastPopupMenu()) {
            after = after || item.text == "下移";
            if (after && (item.flags & MF_SEPARATOR) == 0) {
                texts.push_back(item.text);
            }
        }
        return texts;
    }

    std::set<std::string> gone; // files the inspection finds gone
};

TEST_F(Turns, KeysAndMenuTurnTheCurrentPageItsTipAndPreviewAndUndoTakesItBack) {
    Add({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"});
    Settle();
    ClickRow(1);
    const std::size_t previews = dlg.previews.size();
    Window().PressKey('R', FCONTROL);
    EXPECT_EQ(TurnsOf(1), 1);
    EXPECT_EQ(TurnsOf(0), 0);
    EXPECT_EQ(dlg.previews.size(), previews + 1);
    EXPECT_EQ(dlg.previews.back(), "/p/b.jpg");
    // At 3 megapixels the landscape photo runs past the page's right edge; turned, it fits.
    EXPECT_NE(Tip(0).find("超出页面"), std::string::npos) << Tip(0);
    EXPECT_EQ(Tip(1), "JPEG 1200x2000, 原样嵌入, 1 页, 已向右旋转");
    EXPECT_EQ(MenuAfterMoveDown(), (Strings{"下移", "向左旋转\tCtrl+L", "向右旋转\tCtrl+R", "裁剪",
                                            "双面合并\tCtrl+D", "撤销旋转", "重做"}));

    ui.menuAnswers = {ID_ROTATE_LEFT};
    Window().RightClickRow(IDC_LIST_IMAGES, 1);
    Window().PressKey('L', FCONTROL);
    EXPECT_EQ(TurnsOf(1), 3);
    EXPECT_NE(Tip(1).find("已向左旋转"), std::string::npos) << Tip(1);
    Window().PressKey('Z', FCONTROL);
    EXPECT_EQ(TurnsOf(1), 0);
    EXPECT_EQ(Tip(1).find("旋转"), std::string::npos) << Tip(1);
    Window().PressKey('Z', FCONTROL);
    EXPECT_EQ(TurnsOf(1), 1);
    Window().PressKey('Y', FCONTROL);
    EXPECT_EQ(TurnsOf(1), 0);
    EXPECT_EQ(MenuAfterMoveDown().at(5), "撤销旋转");
    EXPECT_EQ(MenuAfterMoveDown().at(6), "重做旋转");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(Turns, AFileGoneSinceItWasAddedIsNamedAndItsPageStaysAsItWas) {
    Add({"/p/a.jpg", "/p/b.jpg"});
    Settle();
    ClickRow(0);
    Window().PressKey('R', FCONTROL);
    gone.insert("/p/a.jpg");
    Window().PressKey('R', FCONTROL);
    EXPECT_EQ(TurnsOf(0), 1);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("a.jpg"), std::string::npos) << Messages()[0];
    EXPECT_EQ(List().GetItemTextColor(0), kRed);
    EXPECT_EQ(Tip(0), Messages()[0]);
    EXPECT_EQ(MenuAfterMoveDown().at(5), "撤销旋转"); // the first turn, nothing after it
}

TEST_F(Turns, WithoutARowThereIsNothingToTurn) {
    Window().PressKey('R', FCONTROL);
    EXPECT_EQ(Messages(), (Strings{kMsgSelectFirst}));
}

} // namespace
