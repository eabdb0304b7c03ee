#include <gtest/gtest.h>

#include <thread>

#include "platform/crt/SplitPath.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/HeadlessDialog.h"
#include "platform/ui/HeadlessToolkit.h"
#include "platform/ui/MessageMap.h"
#include "platform/ui/ProgressState.h"

namespace {

DialogTemplate RadioDialog() {
    auto control = [](int id, ControlKind kind, bool group = false) {
        ControlTemplate c;
        c.id = id;
        c.kind = kind;
        c.group = group;
        c.rect = UiRect{0, 0, 40, 10};
        return c;
    };
    DialogTemplate dialog;
    dialog.id = 7;
    dialog.controls = {
        control(10, ControlKind::Edit),        control(20, ControlKind::RadioButton, true),
        control(21, ControlKind::RadioButton), control(30, ControlKind::GroupBox),
        control(22, ControlKind::RadioButton), control(40, ControlKind::RadioButton, true)};
    return dialog;
}

class FieldsDialog : public CDialog {
public:
    FieldsDialog(const DialogTemplate &dialog, UiToolkit &ui) : CDialog(dialog, ui) {}
    void DoDataExchange(CDataExchange *dx) override {
        DDX_Text(dx, 10, text);
        DDX_Radio(dx, 20, radio);
    }
    std::string text = "start";
    int radio = 2;
};

TEST(DataExchange, RadioGroupRunsToTheNextGroupAndSkipsOtherControls) {
    const DialogTemplate dialog = RadioDialog();
    EXPECT_EQ(dialog.RadioGroup(20), (std::vector<int>{20, 21, 22}));

    HeadlessToolkit ui;
    FieldsDialog fields(dialog, ui);
    fields.Create();
    HeadlessDialog &window = *ui.Dialog(7);
    EXPECT_EQ(window.Wnd(10)->GetWindowText(), "start");
    EXPECT_FALSE(window.Wnd(21)->GetCheck());
    EXPECT_TRUE(window.Wnd(22)->GetCheck());
    EXPECT_FALSE(window.Wnd(40)->GetCheck());

    window.Click(21);
    window.Wnd(10)->SetWindowText("typed");
    fields.UpdateData(true);
    EXPECT_EQ(fields.radio, 1);
    EXPECT_EQ(fields.text, "typed");

    fields.radio = -1;
    fields.UpdateData(false);
    EXPECT_FALSE(window.Wnd(20)->GetCheck() || window.Wnd(21)->GetCheck() ||
                 window.Wnd(22)->GetCheck());
}

TEST(DataExchange, OkExchangesBackAndEndsTheDialog) {
    const DialogTemplate dialog = RadioDialog();
    HeadlessToolkit ui;
    ui.onModal = [](HeadlessDialog &window) {
        window.Click(20);
        window.PressEnter();
    };
    FieldsDialog fields(dialog, ui);
    EXPECT_EQ(fields.DoModal(), IDOK);
    EXPECT_EQ(fields.radio, 0);
    EXPECT_EQ(ui.Dialog(7), nullptr);
}

// A dialog with one drop-down list (id 50) that counts the user's choices.
class ListDialog : public CDialog {
public:
    ListDialog(const DialogTemplate &dialog, UiToolkit &ui) : CDialog(dialog, ui) {}
    void DoDataExchange(CDataExchange *dx) override { DDX_Control(dx, 50, list); }
    void OnChosen() { chosen.push_back(list.GetCurSel()); }
    bool OnWndMsg(const UiMessage &msg, LRESULT *result) override {
        static const MessageMapEntry<ListDialog> map[] = {
            OnSelChange<ListDialog>(50, &ListDialog::OnChosen)};
        return DispatchMessageMap<ListDialog>(*this, map, msg, result);
    }
    CComboBox list;
    std::vector<int> chosen;
};

TEST(DropDownList, HoldsItsItemsAndTellsTheDialogOnlyOfTheUsersChoice) {
    DialogTemplate dialog;
    dialog.id = 8;
    ControlTemplate list;
    list.id = 50;
    list.kind = ControlKind::ComboBox;
    list.rect = UiRect{0, 0, 80, 16};
    dialog.controls = {list};
    HeadlessToolkit ui;
    ListDialog owner(dialog, ui);
    EXPECT_EQ(owner.list.AddString("none yet"), -1); // not attached: refuses every change
    owner.Create();
    EXPECT_EQ(ui.FocusId(), 50);
    EXPECT_EQ(owner.list.AddString("A4"), 0);
    EXPECT_EQ(owner.list.AddString("Letter"), 1);
    EXPECT_EQ(owner.list.GetCurSel(), -1);
    EXPECT_TRUE(owner.list.SetCurSel(1));
    EXPECT_FALSE(owner.list.SetCurSel(2));
    EXPECT_EQ(owner.list.GetWindowText(), "Letter");
    EXPECT_TRUE(owner.chosen.empty()) << "the program's own choice is no message";

    ui.Dialog(8)->ChooseItem(50, 0);
    EXPECT_EQ(owner.chosen, (std::vector<int>{0}));
    EXPECT_EQ(owner.list.GetLBText(0), "A4");
    EXPECT_EQ(owner.list.GetLBText(5), "");
    owner.list.ResetContent();
    EXPECT_EQ(owner.list.GetCount(), 0);
    EXPECT_EQ(owner.list.GetCurSel(), -1);
    owner.DestroyWindow();
    EXPECT_EQ(owner.list.GetCount(), 0);
    EXPECT_FALSE(owner.list.IsAttached());
}

TEST(ProgressStateCancel, TheHandlerRunsWhenAskedOrAtOnceWhenAskedBefore) {
    ProgressState state;
    int stops = 0;
    state.SetCancelHandler([&stops] { ++stops; });
    EXPECT_EQ(stops, 0);
    std::thread asker([&state] { state.RequestCancel(); });
    asker.join();
    EXPECT_EQ(stops, 1);
    EXPECT_TRUE(state.CancelRequested());
    state.SetCancelHandler({});
    state.RequestCancel();
    EXPECT_EQ(stops, 1) << "a handler taken away no longer runs";

    // Work that sets its handler after the user asked is stopped at once.
    state.SetCancelHandler([&stops] { ++stops; });
    EXPECT_EQ(stops, 2);
}

TEST(FileFilter, SplitsNamesAndPatterns) {
    const auto filters = ParseFileFilter("PDF文件 (*.PDF)|*.PDF|All Files (*.*)|*.*||");
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].name, "PDF文件 (*.PDF)");
    EXPECT_EQ(filters[0].patterns, (std::vector<std::string>{"*.PDF"}));
    EXPECT_EQ(filters[1].name, "All Files (*.*)");
    EXPECT_EQ(ParseFileFilter("Pictures|*.jpg;*.tif|")[0].patterns,
              (std::vector<std::string>{"*.jpg", "*.tif"}));
    EXPECT_TRUE(ParseFileFilter("").empty());
}

TEST(SplitPath, FileNamePartAgreesWithTheFullSplit) {
    for (const char *path : {"/home/u/scan.v2/page.01.jpg", "/home/u/scan.v2/README", "name.tif",
                             "/p/.hidden", "", "/", "/a.b/", "页.jpg"}) {
        EXPECT_EQ(FileNamePart(path), _splitpath(path).fname) << path;
    }
}

TEST(SplitPath, NameIsBetweenTheLastSlashAndTheLastDot) {
    SplitPathParts parts = _splitpath("/home/u/scan.v2/page.01.jpg");
    EXPECT_EQ(parts.drive, "");
    EXPECT_EQ(parts.dir, "/home/u/scan.v2/");
    EXPECT_EQ(parts.fname, "page.01");
    EXPECT_EQ(parts.ext, ".jpg");

    parts = _splitpath("/home/u/scan.v2/README");
    EXPECT_EQ(parts.fname, "README");
    EXPECT_EQ(parts.ext, "");
    parts = _splitpath("name.tif");
    EXPECT_EQ(parts.dir, "");
    EXPECT_EQ(parts.fname, "name");
    parts = _splitpath("/p/.hidden");
    EXPECT_EQ(parts.fname, "");
    EXPECT_EQ(parts.ext, ".hidden");
    parts = _splitpath("");
    EXPECT_EQ(parts.fname, "");
}

} // namespace
