#include <gtest/gtest.h>

#include "platform/crt/SplitPath.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/HeadlessDialog.h"
#include "platform/ui/HeadlessToolkit.h"

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
