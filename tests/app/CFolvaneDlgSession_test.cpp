// What the window keeps between runs, what it asks before the list is thrown away, the output
// name, and the files it starts with.

#include <gtest/gtest.h>

#include "app/CFolvaneApp.h"
#include "tests/app/DialogFixture.h"

namespace {

using Strings = std::vector<std::string>;

class Exit : public DialogFixture {
protected:
    std::vector<UiEvent> Questions() { return ui.Events(UiEvent::Kind::Question); }
};

TEST_F(Exit, EscapeCloseBoxAndExitAskBeforeAChangedListIsThrownAway) {
    Add({"/p/a.jpg", "/p/b.jpg"});
    Window().PressEscape(); // unanswered: the box was closed
    ui.questionAnswers = {1};
    dlg.SendMessage(UiMessage{WM_CLOSE});
    ui.questionAnswers = {1};
    Click(ID_MENU_EXIT);
    Window().DeliverPosted();
    EXPECT_FALSE(Window().Ended());
    EXPECT_EQ(List().GetItemCount(), 2);

    const std::vector<UiEvent> asked = Questions();
    ASSERT_EQ(asked.size(), 3u);
    for (const UiEvent &question : asked) {
        EXPECT_EQ(question.text, "列表中有 2 张图片, 确定退出吗?");
        EXPECT_EQ(question.caption, kCaptionNotice);
    }
    EXPECT_EQ(Window().questionButtons.back(), (Strings{"确定", "取消"}));

    ui.questionAnswers = {0};
    Window().PressEscape();
    EXPECT_TRUE(Window().Ended());
    EXPECT_EQ(Window().Result(), IDCANCEL);
}

TEST_F(Exit, AnEmptyOrEmptiedListEndsWithoutAQuestion) {
    Window().PressEscape();
    EXPECT_TRUE(Window().Ended());
    EXPECT_TRUE(Questions().empty());
}

TEST_F(Exit, EnterStillDoesNothing) {
    Add({"/p/a.jpg"});
    Window().PressEnter();
    EXPECT_FALSE(Window().Ended());
    EXPECT_TRUE(Questions().empty());
}

class Keys : public DialogFixture {};

TEST_F(Keys, ShortcutsRunTheirCommandsOnTheHighlightedRow) {
    Add({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg", "/p/d.jpg"});
    Window().ArrowToRow(IDC_LIST_IMAGES, 1);
    Window().PressKey(VK_DOWN, FCONTROL);
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/c.jpg", "/p/b.jpg", "/p/d.jpg"}));
    Window().PressKey(VK_END, FCONTROL);
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/c.jpg", "/p/d.jpg", "/p/b.jpg"}));
    Window().PressKey(VK_UP, FCONTROL);
    EXPECT_EQ(Paths(), (Strings{"/p/a.jpg", "/p/c.jpg", "/p/b.jpg", "/p/d.jpg"}));
    Window().PressKey(VK_HOME, FCONTROL);
    EXPECT_EQ(Paths(), (Strings{"/p/b.jpg", "/p/a.jpg", "/p/c.jpg", "/p/d.jpg"}));
    EXPECT_EQ(List().HighlightedRow(), 0);

    Window().ArrowToRow(IDC_LIST_IMAGES, 2);
    Window().PressKey(VK_DELETE);
    EXPECT_EQ(Paths(), (Strings{"/p/b.jpg", "/p/a.jpg", "/p/d.jpg"}));
    EXPECT_EQ(dlg.previews.back(), "/p/d.jpg");

    ui.openAnswers.push_back(Strings{"/p/0.jpg"});
    Window().PressKey('O', FCONTROL);
    EXPECT_EQ(Paths().front(), "/p/0.jpg");
    Window().PressKey('O'); // without Ctrl: no command
    EXPECT_EQ(Window().openRequests.size(), 2u);
    EXPECT_TRUE(Messages().empty());
}

class DragAndDrop : public DialogFixture {};

TEST_F(DragAndDrop, ADraggedRowMovesKeepsItsHighlightAndStaysPreviewed) {
    Add({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"});
    Window().DragRow(IDC_LIST_IMAGES, 0, 2);
    EXPECT_EQ(Paths(), (Strings{"/p/b.jpg", "/p/c.jpg", "/p/a.jpg"}));
    EXPECT_EQ(Numbers(), (Strings{"1", "2", "3"}));
    EXPECT_EQ(dlg.Pages().current(), 2);
    EXPECT_EQ(List().HighlightedRow(), 2);
    EXPECT_EQ(dlg.previews.back(), "/p/a.jpg");

    // Another row than the current one becomes current where it lands.
    Window().DragRow(IDC_LIST_IMAGES, 1, 0);
    EXPECT_EQ(Paths(), (Strings{"/p/c.jpg", "/p/b.jpg", "/p/a.jpg"}));
    EXPECT_EQ(dlg.Pages().current(), 0);
    EXPECT_EQ(dlg.previews.back(), "/p/c.jpg");

    const std::size_t previews = dlg.previews.size();
    Window().DragRow(IDC_LIST_IMAGES, 0, 7); // no such place
    Window().DragRow(IDC_LIST_IMAGES, -1, 0);
    EXPECT_EQ(Paths(), (Strings{"/p/c.jpg", "/p/b.jpg", "/p/a.jpg"}));
    EXPECT_EQ(dlg.previews.size(), previews);
}

TEST_F(DragAndDrop, DroppedImagesAreSortedInLikeAddedOnesAndOthersIgnored) {
    Add({"/p/page-3.jpg"});
    Window().DropFiles(IDC_LIST_IMAGES, {"/p/page-10.tif", "/p/notes.txt", "/p/page-2.png"});
    EXPECT_EQ(Paths(), (Strings{"/p/page-2.png", "/p/page-3.jpg", "/p/page-10.tif"}));
    EXPECT_EQ(dlg.Pages().current(), 1); // still on page-3
    EXPECT_EQ(List().HighlightedRow(), 1);
}

class Settings : public DialogFixture {
protected:
    // The dialog closed and opened again on the same desktop.
    RecordingDlg &Restart() {
        dlg.DestroyWindow();
        again = std::make_unique<RecordingDlg>(ui);
        again->Create();
        return *again;
    }
    std::unique_ptr<RecordingDlg> again;
};

TEST_F(Settings, ThePaperSurvivesARestart) {
    HeadlessDialog &first = *ui.Dialog(IDD_FOLVANE_DIALOG);
    EXPECT_EQ(first.Combo(IDC_COMBO_PAPER)->GetCount(), 7);
    EXPECT_EQ(dlg.PaperIndex(), 0);
    first.ChooseItem(IDC_COMBO_PAPER, 5);
    EXPECT_EQ(dlg.ChosenLayout().paper, folvane::Paper::Legal);
    RecordingDlg &next = Restart();
    EXPECT_EQ(next.PaperIndex(), 5);
    EXPECT_EQ(ui.Dialog(IDD_FOLVANE_DIALOG)->Combo(IDC_COMBO_PAPER)->GetCurSel(), 5);
}

TEST_F(Settings, AStoredPaperOutOfRangeIsA4) {
    ui.Settings().Write("window/paper", "7");
    EXPECT_EQ(Restart().PaperIndex(), 0);
}

TEST_F(Settings, TheClassAndBothFoldersSurviveARestart) {
    Click(IDC_RADIO_1600);
    Add({"/home/u/scans/b.jpg", "/home/u/scans/a.jpg"});
    ui.saveAnswers.push_back("/home/u/out/book.pdf");
    Click(IDC_BTN_BROWSE);

    RecordingDlg &next = Restart();
    HeadlessDialog &window = *ui.Dialog(IDD_FOLVANE_DIALOG);
    EXPECT_EQ(next.ImageType(), 5);
    EXPECT_TRUE(window.Wnd(IDC_RADIO_1600)->GetCheck());
    EXPECT_FALSE(window.Wnd(IDC_RADIO_300)->GetCheck());
    EXPECT_EQ(next.SavePath(), ""); // the path itself is not kept
    EXPECT_EQ(next.ImageList().GetItemCount(), 0);

    window.Click(IDC_BTN_ADD_IMAGES);
    window.Click(IDC_BTN_BROWSE);
    EXPECT_EQ(window.openRequests.at(0).initialDir, "/home/u/scans");
    EXPECT_EQ(window.saveRequests.at(0).initialDir, "/home/u/out");
}

TEST_F(Settings, FitModeIsRememberedAndAnythingElseStoredIsIgnored) {
    Click(IDC_RADIO_FIT);
    EXPECT_EQ(Restart().ImageType(), 6);
    for (const char *stored : {"7", "-1", "x", "3x", ""}) {
        ui.settings.values["window/imageType"] = stored;
        EXPECT_EQ(Restart().ImageType(), 1) << stored;
    }
}

TEST_F(Settings, TextRecognitionStartsOffAndKeepsItsLastState) {
    HeadlessDialog *window = &Window();
    EXPECT_FALSE(dlg.Ocr());
    EXPECT_FALSE(window->Wnd(IDC_CHECK_OCR)->GetCheck());
    window->Click(IDC_CHECK_OCR);
    EXPECT_TRUE(dlg.Ocr());
    EXPECT_TRUE(Restart().Ocr());
    window = ui.Dialog(IDD_FOLVANE_DIALOG);
    EXPECT_TRUE(window->Wnd(IDC_CHECK_OCR)->GetCheck());
    window->Click(IDC_CHECK_OCR);
    EXPECT_FALSE(again->Ocr());
    EXPECT_FALSE(Restart().Ocr());
    for (const char *stored : {"2", "yes", ""}) {
        ui.settings.values["window/ocr"] = stored;
        EXPECT_FALSE(Restart().Ocr()) << stored;
    }
}

TEST_F(Settings, DocumentCorrectionStartsOffAndKeepsItsLastStateApartFromRecognition) {
    EXPECT_FALSE(dlg.Document());
    EXPECT_FALSE(Window().Wnd(IDC_CHECK_DOCUMENT)->GetCheck());
    Click(IDC_CHECK_DOCUMENT);
    EXPECT_TRUE(dlg.Document());
    EXPECT_FALSE(dlg.Ocr()); // two boxes, two states
    EXPECT_TRUE(Restart().Document());
    EXPECT_FALSE(again->Ocr());
    HeadlessDialog *window = ui.Dialog(IDD_FOLVANE_DIALOG);
    EXPECT_TRUE(window->Wnd(IDC_CHECK_DOCUMENT)->GetCheck());
    window->Click(IDC_CHECK_DOCUMENT);
    EXPECT_FALSE(Restart().Document());
    for (const char *stored : {"2", "true", ""}) {
        ui.settings.values["window/document"] = stored;
        EXPECT_FALSE(Restart().Document()) << stored;
    }
}

TEST_F(Settings, NothingStoredKeepsTheStartUpStateAndCancelledDialogsStoreNothing) {
    Click(IDC_BTN_ADD_IMAGES);
    Click(IDC_BTN_BROWSE);
    EXPECT_TRUE(ui.settings.values.empty());
    EXPECT_EQ(Window().openRequests.at(0).initialDir, "");
    EXPECT_EQ(Restart().ImageType(), 1);
}

TEST_F(Settings, TheWindowsSizeSurvivesARestartAndThePreviewTakesTheRoom) {
    const WindowPlacement least = Window().GetPlacement();
    const UiRect frame = Window().Wnd(IDC_PREVIEW_FRAME)->GetClientRect();
    const UiRect list = List().GetClientRect();
    Add({"/p/a.jpg"});
    dlg.previews.clear();
    Window().Resize(least.width + 300, least.height + 150);
    // The preview takes two thirds of the width gained, the list one third; both the height.
    const UiRect grownFrame = Window().Wnd(IDC_PREVIEW_FRAME)->GetClientRect();
    EXPECT_EQ(grownFrame.Width(), frame.Width() + 200);
    EXPECT_EQ(grownFrame.Height(), frame.Height() + 150);
    EXPECT_EQ(List().GetClientRect().Width(), list.Width() + 100);
    EXPECT_EQ(dlg.previews, (Strings{"/p/a.jpg"})); // drawn again at the frame's new size

    Window().Resize(10, 10); // never smaller than the original layout
    EXPECT_EQ(Window().GetPlacement().width, least.width);
    EXPECT_EQ(Window().Wnd(IDC_PREVIEW_FRAME)->GetClientRect().Width(), frame.Width());

    Window().Resize(least.width + 300, least.height + 150);
    ui.questionAnswers = {0};
    Window().PressEscape(); // leaving remembers the size
    Restart();
    EXPECT_EQ(ui.Dialog(IDD_FOLVANE_DIALOG)->GetPlacement().width, least.width + 300);
    EXPECT_EQ(ui.Dialog(IDD_FOLVANE_DIALOG)->Wnd(IDC_PREVIEW_FRAME)->GetClientRect().Height(),
              frame.Height() + 150);

    for (const char *stored : {"0x400", "800", "x", "800x-1", "99999999x600", "800x600x1"}) {
        ui.settings.values["window/size"] = stored;
        Restart();
        EXPECT_EQ(ui.Dialog(IDD_FOLVANE_DIALOG)->GetPlacement().width, least.width) << stored;
    }
}

class OutputName : public DialogFixture {
protected:
    std::string Choose(const std::string &typed) {
        ui.saveAnswers.push_back(typed);
        Click(IDC_BTN_BROWSE);
        return dlg.SavePath();
    }
};

TEST_F(OutputName, ABareNameGetsALowerCasePdfAndAnyPdfEndingIsKept) {
    EXPECT_EQ(Choose("/out/book"), "/out/book.pdf");
    EXPECT_EQ(Choose("/out/Book.PDF"), "/out/Book.PDF");
    EXPECT_EQ(Choose("/out/scan.Pdf"), "/out/scan.Pdf");
    EXPECT_EQ(Choose("/out.d/book"), "/out.d/book.pdf");
    EXPECT_EQ(Choose("/out/.book"), "/out/.book.pdf");
    EXPECT_EQ(Window().Wnd(IDC_EDIT_SAVE_PATH)->GetWindowText(), "/out/.book.pdf");
}

TEST(CommandLine, TheWindowStartsWithTheGivenFilesInTheirOrder) {
    HeadlessToolkit ui;
    std::vector<std::string> rows;
    int current = -2;
    ui.onModal = [&](HeadlessDialog &window) {
        HeadlessListCtrl &list = *window.List(IDC_LIST_IMAGES);
        for (int row = 0; row < list.GetItemCount(); ++row) {
            rows.push_back(list.GetItemText(row, 0) + " " + list.GetItemText(row, 1));
        }
        current = list.HighlightedRow();
        ui.questionAnswers = {0};
        window.PressEscape();
    };
    theApp.SetArguments({"/p/page-10.jpg", "/p/page-2.jpg", "/p/scan.tif"});
    theApp.Run(ui);
    theApp.SetArguments({});
    EXPECT_EQ(rows, (Strings{"1 /p/page-10.jpg", "2 /p/page-2.jpg", "3 /p/scan.tif"}));
    EXPECT_EQ(current, 0);
}

} // namespace
