#include <gtest/gtest.h>

#include "app/CFolvaneApp.h"
#include "app/CommandLine.h"
#include "app/Resources.h"
#include "tests/app/DialogFixture.h"

namespace {

using Strings = std::vector<std::string>;

class MainWindow : public DialogFixture {};

TEST_F(MainWindow, StartsEmptyWithThe300RadioCheckedAndAPlainList) {
    EXPECT_EQ(dlg.Pages().current(), -1);
    EXPECT_EQ(dlg.ImageType(), 1);
    EXPECT_EQ(dlg.SavePath(), "");
    EXPECT_EQ(Window().Template().caption,
              "Folvane " + (versionText().substr(8, versionText().size() - 9)));
    EXPECT_EQ(versionText(),
              "folvane " + (versionText().substr(8, versionText().size() - 9)) + "\n");

    const int radios[] = {IDC_RADIO_200,  IDC_RADIO_300,  IDC_RADIO_500, IDC_RADIO_800,
                          IDC_RADIO_1000, IDC_RADIO_1600, IDC_RADIO_FIT};
    for (int id : radios) {
        EXPECT_EQ(Window().Wnd(id)->GetCheck(), id == IDC_RADIO_300) << id;
    }
    HeadlessWnd *savePath = Window().Wnd(IDC_EDIT_SAVE_PATH);
    EXPECT_EQ(savePath->GetWindowText(), "");
    // Read only rather than disabled: a chosen path reads as plain text.
    EXPECT_TRUE(savePath->IsWindowEnabled());
    EXPECT_TRUE(Window().Template().Find(IDC_EDIT_SAVE_PATH)->readOnly);

    EXPECT_EQ(List().GetItemCount(), 0);
    ASSERT_EQ(List().GetColumnCount(), 2);
    EXPECT_EQ(List().GetColumnHeading(0), "序号");
    EXPECT_EQ(List().GetColumnWidth(0), 50);
    EXPECT_EQ(List().GetColumnHeading(1), "图片文件");
    EXPECT_EQ(List().GetColumnWidth(1), List().GetClientRect().Width() - 50);
    EXPECT_EQ(List().GetExtendedStyle(), 0x21u);
    EXPECT_EQ(List().BkColor(), ui::RGB(247, 247, 255));
    EXPECT_EQ(List().TextBkColor(), ui::RGB(247, 247, 255));
    EXPECT_EQ(List().TextColor(), ui::RGB(0, 0, 255));
    EXPECT_EQ(List().FontFace(), "Arial");
    EXPECT_EQ(List().FontHeight(), 16);
    EXPECT_EQ(List().SmallImageCount(), 0); // no row icon among the resources

    EXPECT_EQ(Window().BigIcon(), IDR_MAINFRAME);
    EXPECT_EQ(Window().SmallIcon(), IDR_MAINFRAME);
    EXPECT_EQ(ui.FocusId(), IDC_LIST_IMAGES);
}

TEST_F(MainWindow, ButtonsCarryTheirCaptions) {
    const std::pair<int, const char *> captions[] = {
        {IDC_BTN_MOVE_UP, "上移"},          {IDC_BTN_MOVE_DOWN, "下移"},
        {IDC_BTN_VIEW_IMAGE, "查看图片"},   {IDC_BTN_ADD_IMAGES, "添加图片"},
        {IDC_BTN_DELETE, "删除"},           {IDC_BTN_GENERATE, "生成PDF"},
        {IDC_BTN_MOVE_TOP, "置顶"},         {IDC_BTN_MOVE_BOTTOM, "置底"},
        {IDC_BTN_CLEAR_LIST, "清空列表"},   {IDC_BTN_BROWSE, "浏览"},
        {IDC_BTN_SORT_BY_NAME, "重新排序"}, {IDC_GROUP_IMAGE_TYPE, "图片类型"},
        {IDC_RADIO_200, "200万"},           {IDC_RADIO_1600, "1600万"},
        {IDC_RADIO_FIT, "适应页面"},
    };
    for (const auto &[id, caption] : captions) {
        EXPECT_EQ(Window().Wnd(id)->GetWindowText(), caption) << id;
    }
}

TEST_F(MainWindow, RadioButtonsSetTheResolutionClassByTheirPlaceInTheGroup) {
    const std::pair<int, int> radios[] = {
        {IDC_RADIO_800, 3}, {IDC_RADIO_200, 0},  {IDC_RADIO_1600, 5}, {IDC_RADIO_FIT, 6},
        {IDC_RADIO_500, 2}, {IDC_RADIO_1000, 4}, {IDC_RADIO_300, 1}};
    for (const auto &[id, index] : radios) {
        Click(id);
        EXPECT_EQ(dlg.ImageType(), index) << id;
    }
    EXPECT_EQ(MainDialogTemplate().RadioGroup(IDC_RADIO_200),
              (std::vector<int>{IDC_RADIO_200, IDC_RADIO_300, IDC_RADIO_500, IDC_RADIO_800,
                                IDC_RADIO_1000, IDC_RADIO_1600, IDC_RADIO_FIT}));
}

TEST_F(MainWindow, AChosenModeRedrawsTheCurrentRowsPreviewAtOnce) {
    Click(IDC_RADIO_FIT);
    EXPECT_TRUE(dlg.previews.empty());
    Add({"/p/a.jpg", "/p/b.jpg"});
    ClickRow(1);
    const std::size_t before = dlg.previews.size();
    Click(IDC_RADIO_500);
    ASSERT_EQ(dlg.previews.size(), before + 1);
    EXPECT_EQ(dlg.previews.back(), "/p/b.jpg");
}

TEST_F(MainWindow, WindowMenuEndsWithTheAboutItemThatShowsTheAboutBox) {
    const std::vector<MenuItem> &menu = Window().SystemMenu();
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_EQ(menu[0].flags, MF_SEPARATOR);
    EXPECT_EQ(menu[1].id, IDM_ABOUTBOX);
    EXPECT_EQ(menu[1].text, "关于 Folvane(&A)...");

    Window().ChooseSystemMenu(IDM_ABOUTBOX);
    Window().ChooseSystemMenu(0xF060 & 0xFFF0); // another window command: nothing of ours
    const auto modals = ui.Events(UiEvent::Kind::ModalDialog);
    ASSERT_EQ(modals.size(), 1u);
    EXPECT_EQ(modals[0].id, IDD_ABOUTBOX);
    EXPECT_EQ(modals[0].text, "关于 Folvane");
    EXPECT_EQ(ui.Dialog(IDD_ABOUTBOX), nullptr); // closed again
}

// The menu's texts without its separators, each with whether it can be chosen.
std::vector<std::pair<std::string, bool>> Entries(const std::vector<MenuItem> &items) {
    std::vector<std::pair<std::string, bool>> entries;
    for (const MenuItem &item : items) {
        if ((item.flags & MF_SEPARATOR) == 0) {
            entries.emplace_back(item.text, (item.flags & MF_GRAYED) == 0);
        }
    }
    return entries;
}

TEST_F(MainWindow, ContextMenuOffersItsThreeCommandsAnywhereInTheList) {
    ui.menuAnswers = {0, ID_MENU_EDIT_ITEM, ID_MENU_ABOUT};
    for (int i = 0; i < 3; ++i) {
        Window().Notify(IDC_LIST_IMAGES, NM_RCLICK);
    }
    // The row commands follow, off while there is no row and nothing to undo or redo.
    using Entry = std::pair<std::string, bool>;
    EXPECT_EQ(Entries(Window().LastPopupMenu()), (std::vector<Entry>{{"资料修改", true},
                                                                     {"文档属性...", true},
                                                                     {"关于", true},
                                                                     {"退出", true},
                                                                     {"删除", false},
                                                                     {"上移", false},
                                                                     {"下移", false},
                                                                     {"向左旋转\tCtrl+L", false},
                                                                     {"向右旋转\tCtrl+R", false},
                                                                     {"裁剪", false},
                                                                     {"双面合并\tCtrl+D", false},
                                                                     {"撤销", false},
                                                                     {"重做", false}}));
    EXPECT_EQ(Messages(), (Strings{kMsgNoImages}));
    EXPECT_EQ(ui.Events(UiEvent::Kind::ModalDialog).size(), 1u);
    EXPECT_EQ(dlg.Pages().current(), -1);
    EXPECT_TRUE(dlg.previews.empty());
}

TEST_F(MainWindow, ExitClosesTheWindowOnceTheMessageArrives) {
    ui.menuAnswers = {ID_MENU_EXIT};
    Window().Notify(IDC_LIST_IMAGES, NM_RCLICK);
    EXPECT_FALSE(Window().Ended());
    Window().DeliverPosted();
    EXPECT_TRUE(Window().Ended());
    EXPECT_EQ(Window().Result(), IDCANCEL);
}

TEST_F(MainWindow, EscapeEndsTheWindow) {
    Window().PressEscape();
    EXPECT_TRUE(Window().Ended());
}

TEST_F(MainWindow, EnterInTheListKeepsTheWindowAndTheList) {
    Add({"/p/a.jpg"});
    ASSERT_EQ(ui.FocusId(), IDC_LIST_IMAGES);
    Window().PressEnter();
    EXPECT_FALSE(Window().Ended());
    EXPECT_EQ(List().GetItemCount(), 1);
}

TEST_F(MainWindow, EnterOnAFocusedButtonClicksIt) {
    ui.SetFocusId(IDC_BTN_MOVE_UP);
    Window().PressEnter();
    EXPECT_EQ(Messages(), (Strings{kMsgNoImages}));
    EXPECT_FALSE(Window().Ended());
}

TEST(Application, RunsTheMainDialogModallyAndEndsWithIt) {
    HeadlessToolkit ui;
    int shown = 0;
    ui.onModal = [&](HeadlessDialog &window) {
        ++shown;
        EXPECT_EQ(window.Template().id, IDD_FOLVANE_DIALOG);
        window.Click(IDC_BTN_MOVE_UP);
        window.PressEscape();
    };
    EXPECT_EQ(theApp.Run(ui), 0);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(ui.MessageTexts(), (Strings{kMsgNoImages}));
    EXPECT_EQ(ui.Dialog(IDD_FOLVANE_DIALOG), nullptr);
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
}

} // namespace

namespace {

class UndoMenu : public DialogFixture {
protected:
    // The undo and redo items of the right-click menu, chosen (0: dismissed).
    std::vector<std::string> RightClick(int answer) {
        ui.menuAnswers = {answer};
        Window().RightClickRow(IDC_LIST_IMAGES, List().HighlightedRow());
        std::vector<std::string> texts;
        const std::vector<MenuItem> &items = Window().LastPopupMenu();
        for (std::size_t i = items.size() - 2; i < items.size(); ++i) {
            texts.push_back(items[i].text);
        }
        return texts;
    }
};

TEST_F(UndoMenu, TheMenuNamesTheCommandItTakesBackOrMakesAgain) {
    Add({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"});
    ClickRow(1);
    EXPECT_EQ(RightClick(IDC_BTN_DELETE), (Strings{"撤销添加", "重做"}));
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/c.jpg"}));
    EXPECT_EQ(RightClick(ID_EDIT_UNDO), (Strings{"撤销删除", "重做"}));
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"}));
    EXPECT_EQ(dlg.Pages().current(), 1);
    EXPECT_EQ(dlg.previews.back(), "/p/b.jpg");
    EXPECT_EQ(RightClick(IDC_BTN_MOVE_DOWN), (Strings{"撤销添加", "重做删除"}));
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/c.jpg", "/p/b.jpg"}));
    // A new command drops the deletion that was taken back.
    EXPECT_EQ(RightClick(ID_EDIT_UNDO), (Strings{"撤销移动", "重做"}));
    EXPECT_EQ(RightClick(ID_EDIT_REDO), (Strings{"撤销添加", "重做移动"}));
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/c.jpg", "/p/b.jpg"}));
    EXPECT_EQ(List().HighlightedRow(), 2);
    EXPECT_TRUE(Messages().empty());
}

} // namespace
