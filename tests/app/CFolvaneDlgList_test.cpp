#include <gtest/gtest.h>

#include "tests/app/DialogFixture.h"

namespace {

using Strings = std::vector<std::string>;

class ListCommands : public DialogFixture {};

TEST_F(ListCommands, AddSortsByFileNameAndMakesTheFirstRowCurrent) {
    Add({"/p/b.jpg", "/p/a.jpg", "/p/c.tif"});
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/b.jpg", "/p/c.tif"}));
    EXPECT_EQ(Numbers(), (Strings{"1", "2", "3"}));
    EXPECT_EQ(dlg.Pages().current(), 0);
    EXPECT_EQ(List().HighlightedRow(), 0);
    EXPECT_EQ(List().GetItemState(0, LVIS_FOCUSED), LVIS_FOCUSED);
    EXPECT_EQ(dlg.previews, (Strings{"/p/a.jpg"}));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ListCommands, AddAsksForJpegAndTiffFilesSeveralAtATime) {
    Add({"/p/a.jpg"});
    ASSERT_EQ(Window().openRequests.size(), 1u);
    const OpenFileRequest &request = Window().openRequests[0];
    EXPECT_EQ(request.title, "选择一个或者多个JPG文件");
    ASSERT_EQ(request.filters.size(), 1u);
    EXPECT_EQ(request.filters[0].name,
              "JPG,TIF,PNG,PDF文件(*.jpg;*.jpeg;*.tif;*.tiff;*.png;*.pdf)");
    EXPECT_EQ(request.defaultExt, "jpg");
    EXPECT_EQ(request.flags, 0x81A04u);
}

TEST_F(ListCommands, ManyFilesInReverseOrderComeOutSortedAndNumbered) {
    Strings chosen;
    for (int i = 300; i >= 1; --i) {
        chosen.push_back("/scans/page-" + std::to_string(1000 + i) + ".jpg");
    }
    Add(chosen);
    ASSERT_EQ(List().GetItemCount(), 300);
    for (int row = 0; row < 300; ++row) {
        EXPECT_EQ(List().GetItemText(row, 0), std::to_string(row + 1));
        EXPECT_EQ(List().GetItemText(row, 1), "/scans/page-" + std::to_string(1001 + row) + ".jpg");
    }
}

TEST_F(ListCommands, SortComparesFileNamesAsAFileManagerIgnoringFolderAndExtension) {
    EXPECT_GT(dlg.CompareFileNames("/z/B.jpg", "/a/a.jpg"), 0);
    EXPECT_EQ(dlg.CompareFileNames("/x/photo.jpg", "/y/photo.tif"), 0);
    EXPECT_GT(dlg.CompareFileNames("/a/b.c/page10.jpg", "/a/page1.jpg"), 0);
    EXPECT_GT(dlg.CompareFileNames("/p/页.jpg", "/p/z.jpg"), 0);
    // Names the order holds equal still have one order: their bytes'.
    EXPECT_LT(dlg.CompareFileNames("/p/A.jpg", "/p/a.jpg"), 0);
    EXPECT_LT(dlg.CompareFileNames("/p/page-01.jpg", "/p/page-1.jpg"), 0);

    Add({"/p/UPPER.JPG", "/p/page-10.jpg", "/p/big.jpg", "/p/Page-2.jpg"});
    EXPECT_EQ(Paths(), (Strings{"/p/big.jpg", "/p/Page-2.jpg", "/p/page-10.jpg", "/p/UPPER.JPG"}));
}

TEST_F(ListCommands, EqualNamesAddAboveAndSwapAtEverySort) {
    Add({"/y/a.jpg"});
    Add({"/x/a.jpg"});
    EXPECT_EQ(Paths(), (Strings{"/x/a.jpg", "/y/a.jpg"}));

    Add({"/p/0.jpg"});
    Click(IDC_BTN_SORT_BY_NAME);
    EXPECT_EQ(Paths(), (Strings{"/p/0.jpg", "/y/a.jpg", "/x/a.jpg"}));
    Click(IDC_BTN_SORT_BY_NAME);
    EXPECT_EQ(Paths(), (Strings{"/p/0.jpg", "/x/a.jpg", "/y/a.jpg"}));
    EXPECT_EQ(Numbers(), (Strings{"1", "2", "3"}));
}

TEST_F(ListCommands, SortRestoresOrderAfterMovesAndKeepsTheCurrentIndex) {
    Add({"/p/1.jpg", "/p/2.jpg", "/p/3.jpg", "/p/4.jpg"});
    ClickRow(3);
    Click(IDC_BTN_MOVE_TOP);
    ClickRow(3);
    Click(IDC_BTN_MOVE_UP);
    ASSERT_EQ(Paths(), (Strings{"/p/4.jpg", "/p/1.jpg", "/p/3.jpg", "/p/2.jpg"}));
    const std::size_t previews = dlg.previews.size();
    Click(IDC_BTN_SORT_BY_NAME);
    EXPECT_EQ(Paths(), (Strings{"/p/1.jpg", "/p/2.jpg", "/p/3.jpg", "/p/4.jpg"}));
    EXPECT_EQ(Numbers(), (Strings{"1", "2", "3", "4"}));
    EXPECT_EQ(dlg.Pages().current(), 2);
    EXPECT_EQ(dlg.previews.size(), previews);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ListCommands, AddingKeepsTheCurrentRowOnItsFile) {
    Add({"/p/b.jpg", "/p/c.jpg", "/p/d.jpg"});
    ClickRow(2);
    ASSERT_EQ(dlg.previews.back(), "/p/d.jpg");
    Add({"/p/a.jpg"});
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/b.jpg", "/p/c.jpg", "/p/d.jpg"}));
    EXPECT_EQ(dlg.Pages().current(), 3);
    EXPECT_EQ(dlg.previews.back(), "/p/d.jpg");
    EXPECT_EQ(List().HighlightedRow(), 3);
}

TEST_F(ListCommands, CancelledAddOnAnEmptyListPreviewsAnEmptyPath) {
    ui.openAnswers.push_back(std::nullopt);
    Click(IDC_BTN_ADD_IMAGES);
    EXPECT_EQ(List().GetItemCount(), 0);
    EXPECT_EQ(dlg.Pages().current(), -1);
    EXPECT_EQ(dlg.previews, (Strings{""}));
    // No row stands at index 0, so there is nothing to open.
    Click(IDC_BTN_VIEW_IMAGE);
    EXPECT_EQ(Messages(), (Strings{kMsgNoImages}));
    EXPECT_TRUE(ui.ShellFiles().empty());
}

TEST_F(ListCommands, CancelledAddPreviewsTheCurrentRowAgain) {
    Add({"/p/a.jpg", "/p/b.jpg"});
    ClickRow(1);
    Click(IDC_BTN_ADD_IMAGES); // nothing scripted: cancelled
    EXPECT_EQ(Paths().size(), 2u);
    EXPECT_EQ(dlg.previews, (Strings{"/p/a.jpg", "/p/b.jpg", "/p/b.jpg"}));
}

TEST_F(ListCommands, EmptyListRefusesEveryMoveWithTheNoImagesText) {
    for (int id : {IDC_BTN_MOVE_UP, IDC_BTN_MOVE_DOWN, IDC_BTN_MOVE_TOP, IDC_BTN_MOVE_BOTTOM}) {
        Click(id);
    }
    EXPECT_EQ(Messages(), Strings(4, kMsgNoImages));
    for (const UiEvent &box : ui.Events(UiEvent::Kind::MessageBox)) {
        EXPECT_EQ(box.caption, "系统提示");
        EXPECT_EQ(box.style, MB_OK | MB_ICONINFORMATION);
    }
    EXPECT_EQ(ui.FocusId(), IDC_LIST_IMAGES);
}

TEST_F(ListCommands, MovesStopAtTheEndsWithTheirMessages) {
    Add({"/p/only.jpg"});
    for (int id : {IDC_BTN_MOVE_UP, IDC_BTN_MOVE_TOP, IDC_BTN_MOVE_DOWN, IDC_BTN_MOVE_BOTTOM}) {
        Click(id);
    }
    EXPECT_EQ(Messages(), (Strings{kMsgAtFirstRow, kMsgAtFirstRow, kMsgAtLastRow, kMsgAtLastRow}));
    EXPECT_EQ(Paths(), (Strings{"/p/only.jpg"}));
    EXPECT_EQ(dlg.Pages().current(), 0);
}

TEST_F(ListCommands, MovesCarryTheCurrentRowAndItsHighlight) {
    Add({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg", "/p/d.jpg"});
    ClickRow(1);
    const std::size_t previews = dlg.previews.size();

    Click(IDC_BTN_MOVE_DOWN);
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/c.jpg", "/p/b.jpg", "/p/d.jpg"}));
    EXPECT_EQ(dlg.Pages().current(), 2);
    EXPECT_EQ(List().HighlightedRow(), 2);

    Click(IDC_BTN_MOVE_BOTTOM);
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/c.jpg", "/p/d.jpg", "/p/b.jpg"}));
    EXPECT_EQ(dlg.Pages().current(), 3);

    Click(IDC_BTN_MOVE_TOP);
    EXPECT_EQ(Paths(), (Strings{"/p/b.jpg", "/p/a.jpg", "/p/c.jpg", "/p/d.jpg"}));
    EXPECT_EQ(dlg.Pages().current(), 0);
    EXPECT_EQ(List().HighlightedRow(), 0);
    EXPECT_EQ(Numbers(), (Strings{"1", "2", "3", "4"}));

    Click(IDC_BTN_MOVE_DOWN);
    Click(IDC_BTN_MOVE_UP);
    EXPECT_EQ(Paths(), (Strings{"/p/b.jpg", "/p/a.jpg", "/p/c.jpg", "/p/d.jpg"}));
    EXPECT_EQ(dlg.previews.size(), previews); // moving does not preview
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ListCommands, DeletingTheLastRowMakesTheRowAboveCurrent) {
    Add({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"});
    ClickRow(2);
    Click(IDC_BTN_DELETE);
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/b.jpg"}));
    EXPECT_EQ(dlg.Pages().current(), 1);
    EXPECT_EQ(List().HighlightedRow(), 1);
    EXPECT_EQ(dlg.previews.back(), "/p/b.jpg");
}

TEST_F(ListCommands, DeletingAMiddleRowMakesTheNextRowCurrent) {
    Add({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"});
    ClickRow(1);
    Click(IDC_BTN_DELETE);
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/c.jpg"}));
    EXPECT_EQ(Numbers(), (Strings{"1", "2"}));
    EXPECT_EQ(dlg.Pages().current(), 1);
    EXPECT_EQ(List().HighlightedRow(), 1);
    EXPECT_EQ(dlg.previews.back(), "/p/c.jpg");
}

TEST_F(ListCommands, DeletingTheOnlyRowEmptiesThePreviewFrame) {
    Add({"/p/a.jpg"});
    const int erased = Window().Wnd(IDC_PREVIEW_FRAME)->ErasedCount();
    const std::size_t previews = dlg.previews.size();
    Click(IDC_BTN_DELETE);
    EXPECT_EQ(List().GetItemCount(), 0);
    EXPECT_EQ(dlg.Pages().current(), -1);
    EXPECT_EQ(Window().Wnd(IDC_PREVIEW_FRAME)->ErasedCount(), erased + 1);
    EXPECT_EQ(Window().Wnd(IDC_PREVIEW_FRAME)->UpdatedCount(), erased + 1);
    EXPECT_EQ(dlg.previews.size(), previews);
    Click(IDC_BTN_VIEW_IMAGE);
    EXPECT_EQ(Messages(), (Strings{kMsgNoImages}));
}

TEST_F(ListCommands, DeleteWithoutHighlightIsRefused) {
    Click(IDC_BTN_DELETE);
    Add({"/p/a.jpg", "/p/b.jpg"});
    List().UserHighlight(-1);
    Click(IDC_BTN_DELETE);
    EXPECT_EQ(Messages(), (Strings{kMsgSelectFirst, kMsgSelectFirst}));
    EXPECT_EQ(Paths().size(), 2u);
}

TEST_F(ListCommands, ArrowKeysMakeTheHighlightedRowCurrentForEveryRowCommand) {
    Add({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"});
    ClickRow(2);
    Window().ArrowToRow(IDC_LIST_IMAGES, 1);
    EXPECT_EQ(dlg.Pages().current(), 1);
    EXPECT_EQ(dlg.previews.back(), "/p/b.jpg");
    Click(IDC_BTN_MOVE_TOP);
    EXPECT_EQ(Paths(), (Strings{"/p/b.jpg", "/p/a.jpg", "/p/c.jpg"}));
    EXPECT_EQ(List().HighlightedRow(), 0);

    Window().ArrowToRow(IDC_LIST_IMAGES, 2);
    Click(IDC_BTN_VIEW_IMAGE);
    Window().Click(ID_MENU_EDIT_ITEM);
    EXPECT_EQ(ui.ShellFiles(), (Strings{"/p/c.jpg", "/p/c.jpg"}));
    Window().ArrowToRow(IDC_LIST_IMAGES, 1);
    Click(IDC_BTN_DELETE);
    EXPECT_EQ(Paths(), (Strings{"/p/b.jpg", "/p/c.jpg"}));
    EXPECT_EQ(dlg.Pages().current(), 1);
    EXPECT_EQ(dlg.previews.back(), "/p/c.jpg");
}

TEST_F(ListCommands, AHighlightMovedWithoutNoticeIsStillTheRowCommandsActOn) {
    Add({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"});
    ClickRow(2);
    List().UserHighlight(1);
    Click(IDC_BTN_MOVE_DOWN);
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/c.jpg", "/p/b.jpg"}));
    EXPECT_EQ(dlg.Pages().current(), 2);
    EXPECT_EQ(List().HighlightedRow(), 2);
}

TEST_F(ListCommands, ClickBelowTheRowsPutsTheHighlightBackOnTheCurrentRow) {
    Add({"/p/a.jpg", "/p/b.jpg"});
    ClickRow(1);
    const std::size_t previews = dlg.previews.size();
    ClickRow(-1);
    EXPECT_EQ(dlg.Pages().current(), 1);
    EXPECT_EQ(List().HighlightedRow(), 1);
    EXPECT_EQ(dlg.previews.size(), previews);
}

TEST_F(ListCommands, DoubleClickOpensTheRowWithTheShellWithoutPreview) {
    Add({"/p/a.jpg", "/p/b.jpg"});
    List().UserHighlight(1);
    Window().Notify(IDC_LIST_IMAGES, NM_DBLCLK);
    EXPECT_EQ(dlg.Pages().current(), 1);
    ASSERT_EQ(ui.ShellFiles(), (Strings{"/p/b.jpg"}));
    const UiEvent shell = ui.Events(UiEvent::Kind::ShellExecute)[0];
    EXPECT_EQ(shell.caption, "open");
    EXPECT_EQ(shell.style, static_cast<unsigned>(SW_SHOWNORMAL));
    EXPECT_EQ(dlg.previews.size(), 1u);

    List().UserHighlight(-1);
    Window().Notify(IDC_LIST_IMAGES, NM_DBLCLK);
    EXPECT_EQ(List().HighlightedRow(), 1);
    EXPECT_EQ(ui.ShellFiles().size(), 1u);
}

TEST_F(ListCommands, ARightClickOnARowMakesItCurrentSoTheMenuOpensThatRow) {
    Add({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"});
    ui.menuAnswers = {ID_MENU_EDIT_ITEM, ID_MENU_EDIT_ITEM};
    Window().RightClickRow(IDC_LIST_IMAGES, 2);
    EXPECT_EQ(dlg.Pages().current(), 2);
    EXPECT_EQ(List().HighlightedRow(), 2);
    EXPECT_EQ(dlg.previews.back(), "/p/c.jpg");
    // Below the rows the highlight and the current row stay where they are.
    Window().RightClickRow(IDC_LIST_IMAGES, -1);
    EXPECT_EQ(List().HighlightedRow(), 2);
    EXPECT_EQ(ui.ShellFiles(), (Strings{"/p/c.jpg", "/p/c.jpg"}));
}

TEST_F(ListCommands, AnImageNoProgramOpensIsSaidSo) {
    Add({"/p/a.jpg"});
    ui.shellOpens = false;
    Click(IDC_BTN_VIEW_IMAGE);
    EXPECT_EQ(Messages(), (Strings{"无法打开 /p/a.jpg\n桌面上没有能打开这种文件的程序。"}));
}

TEST_F(ListCommands, ViewImageAndItsMenuItemOpenTheCurrentRow) {
    Click(IDC_BTN_VIEW_IMAGE);
    Add({"/p/a.jpg", "/p/b.jpg"});
    ClickRow(1);
    Click(IDC_BTN_VIEW_IMAGE);
    Window().Click(ID_MENU_EDIT_ITEM);
    EXPECT_EQ(Messages(), (Strings{kMsgNoImages}));
    EXPECT_EQ(ui.ShellFiles(), (Strings{"/p/b.jpg", "/p/b.jpg"}));
}

TEST_F(ListCommands, ClearListEmptiesEverythingWithoutAskingAndCtrlZBringsItBack) {
    Add({"/p/c.jpg", "/p/a.jpg", "/p/b.jpg"});
    ClickRow(2);
    Click(IDC_BTN_MOVE_TOP); // c, a, b with c current
    ClickRow(1);
    Click(IDC_BTN_CLEAR_LIST);
    Click(IDC_BTN_CLEAR_LIST);
    EXPECT_EQ(List().GetItemCount(), 0);
    EXPECT_EQ(dlg.Pages().current(), -1);
    EXPECT_EQ(Window().Wnd(IDC_PREVIEW_FRAME)->ErasedCount(), 2);
    EXPECT_TRUE(Messages().empty());

    // Rows, order, numbers and the current row as they were; the second clear of an empty
    // list was no command, so the next Ctrl+Z takes the move back.
    Window().PressKey('Z', FCONTROL);
    EXPECT_EQ(Paths(), (Strings{"/p/c.jpg", "/p/a.jpg", "/p/b.jpg"}));
    EXPECT_EQ(Numbers(), (Strings{"1", "2", "3"}));
    EXPECT_EQ(dlg.Pages().current(), 1);
    EXPECT_EQ(List().HighlightedRow(), 1);
    EXPECT_EQ(dlg.previews.back(), "/p/a.jpg");
    Window().PressKey('Z', FCONTROL);
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"}));
    EXPECT_EQ(dlg.Pages().current(), 2);
    EXPECT_EQ(List().HighlightedRow(), 2);
}

TEST_F(ListCommands, CtrlZTakesBackTheAddingBeforeTheClearing) {
    Add({"/p/a.jpg", "/p/b.jpg"});
    Click(IDC_BTN_CLEAR_LIST);
    Add({"/p/new.jpg"});
    Window().PressKey('Z', FCONTROL);
    EXPECT_TRUE(Paths().empty());
    Window().PressKey('Z', FCONTROL);
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/b.jpg"}));
    Window().PressKey('Z', FCONTROL | FSHIFT);
    Window().PressKey('Y', FCONTROL);
    EXPECT_EQ(Paths(), (Strings{"/p/new.jpg"}));
    EXPECT_EQ(dlg.previews.back(), "/p/new.jpg");
}

TEST_F(ListCommands, BrowseShowsTheChosenPathAndKeepsItWhenCancelled) {
    Click(IDC_RADIO_1600);
    ui.saveAnswers.push_back("/out/book.PDF");
    Click(IDC_BTN_BROWSE);
    EXPECT_EQ(dlg.SavePath(), "/out/book.PDF");
    EXPECT_EQ(Window().Wnd(IDC_EDIT_SAVE_PATH)->GetWindowText(), "/out/book.PDF");
    EXPECT_TRUE(Window().Wnd(IDC_RADIO_1600)->GetCheck());
    EXPECT_EQ(dlg.ImageType(), 5);

    const SaveFileRequest &request = Window().saveRequests.at(0);
    EXPECT_EQ(request.defaultExt, "pdf");
    EXPECT_EQ(request.flags, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].name, "PDF文件 (*.PDF)");
    EXPECT_EQ(request.filters[1].patterns, (Strings{"*.*"}));

    EXPECT_EQ(request.initialName, ""); // nothing chosen yet

    // Once chosen, the dialog starts on that path and name.
    ui.saveAnswers.push_back(std::nullopt);
    Click(IDC_BTN_BROWSE);
    EXPECT_EQ(dlg.SavePath(), "/out/book.PDF");
    EXPECT_EQ(Window().saveRequests.at(1).initialDir, "/out");
    EXPECT_EQ(Window().saveRequests.at(1).initialName, "book.PDF");
}

} // namespace
