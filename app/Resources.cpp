#include "app/Resources.h"

#include "app/Resource.h"
#include "app/ScanTexts.h"
#include "app/WindowTexts.h"
#include "platform/ui/CMenu.h"

namespace {

// A control at (x, y) of size cx by cy, in dialog units.
ControlTemplate Control(int id, ControlKind kind, std::string caption, int x, int y, int cx,
                        int cy) {
    ControlTemplate control;
    control.id = id;
    control.kind = kind;
    control.caption = std::move(caption);
    control.rect = UiRect{x, y, x + cx, y + cy};
    return control;
}

ControlTemplate Button(int id, std::string caption, int x, int y, int cx) {
    return Control(id, ControlKind::PushButton, std::move(caption), x, y, cx, 16);
}

ControlTemplate Radio(int id, std::string caption, int x, bool group = false) {
    ControlTemplate radio =
        Control(id, ControlKind::RadioButton, std::move(caption), x, 22, 47, 12);
    radio.group = group;
    return radio;
}

ControlTemplate Growing(ControlTemplate control, ControlGrowth growth) {
    control.growth = growth;
    return control;
}

// How the main window's extra room is shared: the list takes a third of the width, the preview
// two thirds (a page shows more of itself the larger it is drawn); both take all of the height.
// The rows of buttons under them move down and spread with them, the path row's edit takes the
// width, the radio buttons spread across the widened group box.
constexpr double kListShare = 1.0 / 3;
constexpr double kFrameShare = 1.0 - kListShare;
constexpr ControlGrowth kGrowList{0, 0, kListShare, 1};
constexpr ControlGrowth kGrowFrame{kListShare, 0, kFrameShare, 1};
constexpr ControlGrowth kFollowRight{1, 1, 0, 0};
constexpr ControlGrowth kFollowBottom{0, 1, 0, 0};
constexpr ControlGrowth kUnderFrame{kListShare + kFrameShare / 2, 1, 0, 0};
// The button at place 0..8 under the list, the radio button at place 0..6 in the group box.
constexpr ControlGrowth UnderList(int place) {
    return {place * kListShare / 8, 1, 0, 0};
}
constexpr ControlGrowth InGroup(int place) {
    return {place / 7.0, 0, 0, 0};
}

constexpr int kMargin = 7;
constexpr int kListWidth = 344;
constexpr int kFrameLeft = kMargin + kListWidth + 7; // 358
constexpr int kFrameWidth = 128;
constexpr int kDialogWidth = kFrameLeft + kFrameWidth + kMargin; // 493
constexpr int kTop = 50;
constexpr int kFrameHeight = 160;
constexpr int kButtonRow = kTop + kFrameHeight + 6; // 216
constexpr int kPathRow = kButtonRow + 24;           // 240
// The path row from the right: "生成PDF" under the frame, "文字识别" beside it, then "浏览".
constexpr int kGenerateLeft = kFrameLeft + 44; // 402
constexpr int kOcrWidth = 54;
constexpr int kOcrLeft = kGenerateLeft - 3 - kOcrWidth; // 345
constexpr int kBrowseWidth = 38;
constexpr int kBrowseLeft = kOcrLeft - 4 - kBrowseWidth; // 303
constexpr int kSavePathLeft = kMargin + 40;

// The buttons under the list, at places 0..8: those of two characters narrower than those of
// four, with even gaps between them.
constexpr int kListButtonWidths[] = {39, 30, 30, 30, 30, 30, 30, 39, 39};
constexpr int kListButtons = 9;
constexpr int ListButtonLeft(int place) {
    int before = 0;
    int all = 0;
    for (int i = 0; i < kListButtons; ++i) {
        before += i < place ? kListButtonWidths[i] : 0;
        all += kListButtonWidths[i];
    }
    return kMargin + before + place * (kListWidth - all) / (kListButtons - 1);
}

// The main window's keys: the row commands, the add dialog and the undo of "清空列表".
std::vector<Accelerator> MainAccelerators() {
    return {
        {VK_DELETE, 0, IDC_BTN_DELETE},        {'O', FCONTROL, IDC_BTN_ADD_IMAGES},
        {VK_UP, FCONTROL, IDC_BTN_MOVE_UP},    {VK_DOWN, FCONTROL, IDC_BTN_MOVE_DOWN},
        {VK_HOME, FCONTROL, IDC_BTN_MOVE_TOP}, {VK_END, FCONTROL, IDC_BTN_MOVE_BOTTOM},
        {'Z', FCONTROL, ID_EDIT_UNDO},
    };
}

DialogTemplate BuildMainDialog() {
    DialogTemplate dialog;
    dialog.id = IDD_FOLVANE_DIALOG;
    dialog.caption = "Folvane V3.6";
    dialog.width = kDialogWidth;
    dialog.height = kPathRow + 16 + kMargin;
    dialog.resizable = true;
    dialog.fontName = "宋体";
    dialog.fontPoints = 9;

    // Under the list, nine buttons share its width; "查看图片" stands under the frame.
    auto listButton = [](int id, const char *caption, int place) {
        return Growing(
            Button(id, caption, ListButtonLeft(place), kButtonRow, kListButtonWidths[place]),
            UnderList(place));
    };

    ControlTemplate list = Control(IDC_LIST_IMAGES, ControlKind::ListView, "", kMargin, kTop,
                                   kListWidth, kFrameHeight);
    ControlTemplate frame = Control(IDC_PREVIEW_FRAME, ControlKind::StaticFrame, "", kFrameLeft,
                                    kTop, kFrameWidth, kFrameHeight);
    ControlTemplate savePath = Control(IDC_EDIT_SAVE_PATH, ControlKind::Edit, "", kSavePathLeft,
                                       kPathRow, kBrowseLeft - 4 - kSavePathLeft, 16);
    savePath.readOnly = true; // set by "浏览" only, and shown as plain text to read and copy
    ControlTemplate clear = listButton(IDC_BTN_CLEAR_LIST, "清空列表", 7);
    clear.toolTip = texts::kClearListTip;
    ControlTemplate corner = Control(-1, ControlKind::Picture, "", kMargin, 5, 117, 39);
    corner.resourceId = IDB_CORNER;

    constexpr int kGroupLeft = kMargin + 117 + 8;
    constexpr int kRadioStep = (kDialogWidth - kMargin - kGroupLeft - 16) / 7;
    auto radio = [](int id, const char *caption, int place) {
        return Growing(Radio(id, caption, kGroupLeft + 10 + place * kRadioStep, place == 0),
                       InGroup(place));
    };

    // Tab order of the window.
    dialog.controls = {
        Growing(list, kGrowList),
        listButton(IDC_BTN_MOVE_UP, "上移", 2),
        listButton(IDC_BTN_MOVE_DOWN, "下移", 3),
        Growing(Button(IDC_BTN_VIEW_IMAGE, "查看图片", kFrameLeft + (kFrameWidth - 60) / 2,
                       kButtonRow, 60),
                kUnderFrame),
        listButton(IDC_BTN_ADD_IMAGES, "添加图片", 0),
        listButton(IDC_BTN_SCAN, texts::kScanButton, 1),
        listButton(IDC_BTN_DELETE, "删除", 6),
        Growing(Button(IDC_BTN_GENERATE, "生成PDF", kGenerateLeft, kPathRow, kFrameWidth - 44),
                kFollowRight),
        Growing(frame, kGrowFrame),
        listButton(IDC_BTN_MOVE_TOP, "置顶", 4),
        listButton(IDC_BTN_MOVE_BOTTOM, "置底", 5),
        clear,
        Growing(savePath, ControlGrowth{0, 1, 1, 0}),
        Growing(Control(-1, ControlKind::StaticText, "存放路径:", kMargin, kPathRow + 2, 40, 12),
                kFollowBottom),
        Growing(Button(IDC_BTN_BROWSE, "浏览", kBrowseLeft, kPathRow, kBrowseWidth), kFollowRight),
        listButton(IDC_BTN_SORT_BY_NAME, "重新排序", 8),
        radio(IDC_RADIO_200, "200万", 0),
        radio(IDC_RADIO_300, "300万", 1),
        radio(IDC_RADIO_500, "500万", 2),
        Growing(Control(IDC_GROUP_IMAGE_TYPE, ControlKind::GroupBox, "图片类型", kGroupLeft, 5,
                        kDialogWidth - kMargin - kGroupLeft, 39),
                ControlGrowth{0, 0, 1, 0}),
        corner,
        radio(IDC_RADIO_800, "800万", 3),
        radio(IDC_RADIO_1000, "1000万", 4),
        radio(IDC_RADIO_1600, "1600万", 5),
        radio(IDC_RADIO_FIT, "适应页面", 6),
        Growing(Control(IDC_CHECK_OCR, ControlKind::CheckBox, "文字识别", kOcrLeft, kPathRow + 2,
                        kOcrWidth, 12),
                kFollowRight),
    };
    dialog.accelerators = MainAccelerators();
    return dialog;
}

DialogTemplate BuildAboutDialog() {
    DialogTemplate dialog;
    dialog.id = IDD_ABOUTBOX;
    dialog.caption = "关于 Tessary";
    dialog.width = 262;
    dialog.height = 62;
    dialog.fontName = "宋体";
    dialog.fontPoints = 9;
    ControlTemplate icon = Control(-1, ControlKind::Icon, "", 11, 14, 24, 24);
    icon.resourceId = IDR_MAINFRAME;
    ControlTemplate ok = Control(IDOK, ControlKind::DefPushButton, "确定", 205, 7, 50, 16);
    ok.group = true;
    dialog.controls = {
        icon,
        Control(-1, ControlKind::StaticText, "Tessary 1.0 版", 44, 12, 150, 12),
        Control(-1, ControlKind::StaticText, "把扫描或拍摄的页面图片合成一份 PDF", 44, 28, 156, 12),
        ok,
    };
    return dialog;
}

} // namespace

const DialogTemplate &AboutDialogTemplate() {
    static const DialogTemplate dialog = BuildAboutDialog();
    return dialog;
}

const DialogTemplate &MainDialogTemplate() {
    static const DialogTemplate dialog = BuildMainDialog();
    return dialog;
}

void LoadListMenu(CMenu &menu) {
    menu.DestroyMenu();
    CMenu &popup = menu.AppendPopup("MENU");
    popup.AppendMenu(MF_STRING, ID_MENU_EDIT_ITEM, "资料修改");
    popup.AppendMenu(MF_STRING, ID_MENU_ABOUT, "关于");
    popup.AppendMenu(MF_STRING, ID_MENU_EXIT, "退出");
}

std::string LoadStringResource(int id) {
    if (id == IDS_ABOUTBOX) {
        return "关于 Tessary(&A)...";
    }
    return {};
}
