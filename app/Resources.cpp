#include "app/Resources.h"

#include "app/Resource.h"
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

DialogTemplate BuildMainDialog() {
    DialogTemplate dialog;
    dialog.id = IDD_FOLVANE_DIALOG;
    dialog.caption = "Folvane V3.6";
    dialog.width = kDialogWidth;
    dialog.height = kPathRow + 16 + kMargin;
    dialog.fontName = "宋体";
    dialog.fontPoints = 9;

    // Under the list, eight buttons share its width; "查看图片" stands under the frame.
    constexpr int kButtonWidth = 39;
    constexpr int kButtonStep = (kListWidth - kButtonWidth) / 7;
    auto buttonX = [](int place) { return kMargin + place * kButtonStep; };

    ControlTemplate list = Control(IDC_LIST_IMAGES, ControlKind::ListView, "", kMargin, kTop,
                                   kListWidth, kFrameHeight);
    ControlTemplate frame = Control(IDC_PREVIEW_FRAME, ControlKind::StaticFrame, "", kFrameLeft,
                                    kTop, kFrameWidth, kFrameHeight);
    ControlTemplate savePath = Control(IDC_EDIT_SAVE_PATH, ControlKind::Edit, "", kSavePathLeft,
                                       kPathRow, kBrowseLeft - 4 - kSavePathLeft, 16);
    savePath.disabled = true;
    ControlTemplate corner = Control(-1, ControlKind::Picture, "", kMargin, 5, 117, 39);
    corner.resourceId = IDB_CORNER;

    constexpr int kGroupLeft = kMargin + 117 + 8;
    constexpr int kRadioStep = (kDialogWidth - kMargin - kGroupLeft - 16) / 7;
    auto radioX = [](int place) { return kGroupLeft + 10 + place * kRadioStep; };

    // Tab order of the window.
    dialog.controls = {
        list,
        Button(IDC_BTN_MOVE_UP, "上移", buttonX(1), kButtonRow, kButtonWidth),
        Button(IDC_BTN_MOVE_DOWN, "下移", buttonX(2), kButtonRow, kButtonWidth),
        Button(IDC_BTN_VIEW_IMAGE, "查看图片", kFrameLeft + (kFrameWidth - 60) / 2, kButtonRow, 60),
        Button(IDC_BTN_ADD_IMAGES, "添加图片", buttonX(0), kButtonRow, kButtonWidth),
        Button(IDC_BTN_DELETE, "删除", buttonX(5), kButtonRow, kButtonWidth),
        Button(IDC_BTN_GENERATE, "生成PDF", kGenerateLeft, kPathRow, kFrameWidth - 44),
        frame,
        Button(IDC_BTN_MOVE_TOP, "置顶", buttonX(3), kButtonRow, kButtonWidth),
        Button(IDC_BTN_MOVE_BOTTOM, "置底", buttonX(4), kButtonRow, kButtonWidth),
        Button(IDC_BTN_CLEAR_LIST, "清空列表", buttonX(6), kButtonRow, kButtonWidth),
        savePath,
        Control(-1, ControlKind::StaticText, "存放路径:", kMargin, kPathRow + 2, 40, 12),
        Button(IDC_BTN_BROWSE, "浏览", kBrowseLeft, kPathRow, kBrowseWidth),
        Button(IDC_BTN_SORT_BY_NAME, "重新排序", buttonX(7), kButtonRow, kButtonWidth),
        Radio(IDC_RADIO_200, "200万", radioX(0), true),
        Radio(IDC_RADIO_300, "300万", radioX(1)),
        Radio(IDC_RADIO_500, "500万", radioX(2)),
        Control(IDC_GROUP_IMAGE_TYPE, ControlKind::GroupBox, "图片类型", kGroupLeft, 5,
                kDialogWidth - kMargin - kGroupLeft, 39),
        corner,
        Radio(IDC_RADIO_800, "800万", radioX(3)),
        Radio(IDC_RADIO_1000, "1000万", radioX(4)),
        Radio(IDC_RADIO_1600, "1600万", radioX(5)),
        Radio(IDC_RADIO_FIT, "适应页面", radioX(6)),
        Control(IDC_CHECK_OCR, ControlKind::CheckBox, "文字识别", kOcrLeft, kPathRow + 2, kOcrWidth,
                12),
    };
    dialog.accelerators = {
        {VK_DELETE, 0, IDC_BTN_DELETE},        {'O', FCONTROL, IDC_BTN_ADD_IMAGES},
        {VK_UP, FCONTROL, IDC_BTN_MOVE_UP},    {VK_DOWN, FCONTROL, IDC_BTN_MOVE_DOWN},
        {VK_HOME, FCONTROL, IDC_BTN_MOVE_TOP}, {VK_END, FCONTROL, IDC_BTN_MOVE_BOTTOM},
    };
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
