#include "app/Resources.h"

#include <array>

#include "app/BookTexts.h"
#include "app/PropertiesTexts.h"
#include "app/Resource.h"
#include "app/SplitTexts.h"
#include "app/WindowTexts.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/Translation.h"

namespace {

ControlTemplate Button(int id, std::string caption, int x, int y, int cx) {
    return Control(id, ControlKind::PushButton, std::move(caption), x, y, cx, 16);
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
constexpr int kFrameWidth = 128;
constexpr int kTop = 50;
constexpr int kFrameHeight = 160;
constexpr int kButtonRow = kTop + kFrameHeight + 6; // 216
constexpr int kPathRow = kButtonRow + 24;           // 240
constexpr int kSplitRow = kPathRow + 20;            // under the path row's check boxes
constexpr int kGroupLeft = kMargin + 117 + 8;       // right of the corner picture
constexpr int kPathLabelWidth = 40;

// The widths that depend on the language of the captions. The original Chinese captions fit the
// original layout; translated captions are wider, so the window is wider and so are the
// controls whose captions grew. Everything else follows from these.
struct MainLayout {
    int dialogWidth;
    std::array<int, 9>
        listButtons;  // under the list: add, scan, up, down, top, bottom, delete, clear, sort
    int viewWidth;    // "查看图片", under the frame
    int cornersWidth; // "调整边角", beside it
    int radioWidth;
    int browseWidth;
    int ocrWidth;         // "文字识别"
    int documentWidth;    // "文档校正"
    int encryptWidth;     // "加密"
    int skipBlankWidth;   // "跳过空白页"
    int paperWidth;       // "纸张", right of the classes
    int splitWidth;       // "在空白页处分成多个文件", under "跳过空白页"
    int spreadsWidth;     // "书本分两页", right of it
    int rightToLeftWidth; // "从右到左", right of that
};

// Under the list, the Chinese captions of two characters are narrower than those of four.
// The paper choice right of the classes widens the window by its own width, so that the classes
// keep their room.
constexpr MainLayout kOriginalLayout{
    573, {39, 30, 30, 30, 30, 30, 30, 39, 39}, 60, 60, 47, 38, 54, 54, 32, 62, 76, 124, 62, 52};
constexpr MainLayout kTranslatedLayout{
    690, {53, 36, 41, 52, 39, 48, 39, 41, 58}, 58, 66, 57, 43, 72, 100, 46, 86, 86, 156, 100, 70};

// The main window's keys: the row commands, the add dialog, undo and redo.
std::vector<Accelerator> MainAccelerators() {
    return {
        {VK_DELETE, 0, IDC_BTN_DELETE},        {'O', FCONTROL, IDC_BTN_ADD_IMAGES},
        {VK_UP, FCONTROL, IDC_BTN_MOVE_UP},    {VK_DOWN, FCONTROL, IDC_BTN_MOVE_DOWN},
        {VK_HOME, FCONTROL, IDC_BTN_MOVE_TOP}, {VK_END, FCONTROL, IDC_BTN_MOVE_BOTTOM},
        {'Z', FCONTROL, ID_EDIT_UNDO},         {'Z', FCONTROL | FSHIFT, ID_EDIT_REDO},
        {'Y', FCONTROL, ID_EDIT_REDO},         {'L', FCONTROL, ID_ROTATE_LEFT},
        {'R', FCONTROL, ID_ROTATE_RIGHT},      {'D', FCONTROL, ID_INTERLEAVE},
    };
}

// Places the controls of the main window that depend on its layout, in the layout's widths.
class MainPlaces {
public:
    explicit MainPlaces(const MainLayout &layout)
        : m_layout(layout), m_listWidth(layout.dialogWidth - 3 * kMargin - kFrameWidth),
          m_frameLeft(kMargin + m_listWidth + 7) {
        int buttons = 0;
        for (int width : layout.listButtons) {
            buttons += width;
        }
        m_spare = m_listWidth - buttons;
    }

    int ListWidth() const { return m_listWidth; }
    int FrameLeft() const { return m_frameLeft; }
    // The classes' group box, then the paper's at the window's right edge.
    int GroupWidth() const {
        return m_layout.dialogWidth - kMargin - kGroupLeft - 4 - m_layout.paperWidth;
    }
    int PaperLeft() const { return kGroupLeft + GroupWidth() + 4; }
    ControlTemplate PaperGroup() const {
        return Growing(Control(IDC_GROUP_PAPER, ControlKind::GroupBox,
                               folvane::app::texts::kPaperGroup, PaperLeft(), 5,
                               m_layout.paperWidth, 39),
                       ControlGrowth{1, 0, 0, 0});
    }
    ControlTemplate PaperChoice() const {
        return Growing(Control(IDC_COMBO_PAPER, ControlKind::ComboBox, "", PaperLeft() + 6, 19,
                               m_layout.paperWidth - 12, 16),
                       ControlGrowth{1, 0, 0, 0});
    }

    // The button at place 0..8 under the list: the nine share its width with even gaps, the
    // first starting and the last ending with the list.
    ControlTemplate ListButton(int id, const char *caption, int place) const {
        int left = kMargin + place * m_spare / 8;
        for (int i = 0; i < place; ++i) {
            left += m_layout.listButtons[i];
        }
        return Growing(Button(id, caption, left, kButtonRow, m_layout.listButtons[place]),
                       UnderList(place));
    }
    ControlTemplate Radio(int id, const char *caption, int place) const {
        const int step = (GroupWidth() - 16) / 7;
        ControlTemplate radio =
            Control(id, ControlKind::RadioButton, caption, kGroupLeft + 10 + place * step, 22,
                    m_layout.radioWidth, 12);
        radio.group = place == 0;
        return Growing(radio, InGroup(place));
    }
    // "查看图片" and "调整边角" side by side, centred under the frame.
    int ViewLeft() const {
        return m_frameLeft + (kFrameWidth - m_layout.viewWidth - 4 - m_layout.cornersWidth) / 2;
    }
    ControlTemplate ViewButton() const {
        return Growing(Button(IDC_BTN_VIEW_IMAGE, TR_NOOP("Dialog", "查看图片"), ViewLeft(),
                              kButtonRow, m_layout.viewWidth),
                       kUnderFrame);
    }
    ControlTemplate CornersButton() const {
        return Growing(Button(IDC_BTN_CORNERS, TR_NOOP("Dialog", "调整边角"),
                              ViewLeft() + m_layout.viewWidth + 4, kButtonRow,
                              m_layout.cornersWidth),
                       kUnderFrame);
    }

    // The path row from the right: "生成PDF" under the frame, "文字识别" and "文档校正" beside
    // it, then "浏览"; the path takes what is left after its label.
    int GenerateLeft() const { return m_frameLeft + 44; }
    int OcrLeft() const { return GenerateLeft() - 3 - m_layout.ocrWidth; }
    int DocumentLeft() const { return OcrLeft() - 3 - m_layout.documentWidth; }
    int EncryptLeft() const { return DocumentLeft() - 3 - m_layout.encryptWidth; }
    int SkipBlankLeft() const { return EncryptLeft() - 3 - m_layout.skipBlankWidth; }
    int BrowseLeft() const { return SkipBlankLeft() - 4 - m_layout.browseWidth; }
    ControlTemplate Generate() const {
        return Growing(Button(IDC_BTN_GENERATE, TR_NOOP("Dialog", "生成PDF"), GenerateLeft(),
                              kPathRow, kFrameWidth - 44),
                       kFollowRight);
    }
    ControlTemplate Browse() const {
        return Growing(Button(IDC_BTN_BROWSE, TR_NOOP("Dialog", "浏览"), BrowseLeft(), kPathRow,
                              m_layout.browseWidth),
                       kFollowRight);
    }
    ControlTemplate Ocr() const {
        return Growing(Control(IDC_CHECK_OCR, ControlKind::CheckBox, TR_NOOP("Dialog", "文字识别"),
                               OcrLeft(), kPathRow + 2, m_layout.ocrWidth, 12),
                       kFollowRight);
    }
    ControlTemplate Document() const {
        return Growing(Control(IDC_CHECK_DOCUMENT, ControlKind::CheckBox,
                               TR_NOOP("Dialog", "文档校正"), DocumentLeft(), kPathRow + 2,
                               m_layout.documentWidth, 12),
                       kFollowRight);
    }
    ControlTemplate SkipBlank() const {
        return Growing(Control(IDC_CHECK_SKIP_BLANK, ControlKind::CheckBox,
                               TR_NOOP("Dialog", "跳过空白页"), SkipBlankLeft(), kPathRow + 2,
                               m_layout.skipBlankWidth, 12),
                       kFollowRight);
    }
    // In a row of its own under the path row, below "跳过空白页": the two blank-page choices
    // read together, and the path keeps its width.
    ControlTemplate SplitBlank() const {
        return SplitRowBox(IDC_CHECK_SPLIT_BLANK, folvane::app::texts::kSplitBlank,
                           folvane::app::texts::kSplitBlankTip, SkipBlankLeft(),
                           m_layout.splitWidth);
    }
    // Beside it in the same row, the open book's two choices, which go with "文档校正".
    int SpreadsLeft() const { return SkipBlankLeft() + m_layout.splitWidth + 4; }
    ControlTemplate Spreads() const {
        return SplitRowBox(IDC_CHECK_SPREADS, folvane::app::texts::kSpreads,
                           folvane::app::texts::kSpreadsTip, SpreadsLeft(), m_layout.spreadsWidth);
    }
    ControlTemplate RightToLeft() const {
        return SplitRowBox(IDC_CHECK_RIGHT_TO_LEFT, folvane::app::texts::kRightToLeft,
                           folvane::app::texts::kRightToLeftTip,
                           SpreadsLeft() + m_layout.spreadsWidth + 4, m_layout.rightToLeftWidth);
    }
    ControlTemplate Encrypt() const {
        return Growing(Control(IDC_CHECK_ENCRYPT, ControlKind::CheckBox, TR_NOOP("Dialog", "加密"),
                               EncryptLeft(), kPathRow + 2, m_layout.encryptWidth, 12),
                       kFollowRight);
    }
    ControlTemplate SavePath() const {
        const int left = kMargin + kPathLabelWidth;
        ControlTemplate path = Control(IDC_EDIT_SAVE_PATH, ControlKind::Edit, "", left, kPathRow,
                                       BrowseLeft() - 4 - left, 16);
        path.readOnly = true; // set by "浏览" only, and shown as plain text to read and copy
        return Growing(path, ControlGrowth{0, 1, 1, 0});
    }

private:
    // A check box with its tool tip in the row under the path row, following the right edge.
    static ControlTemplate SplitRowBox(int id, const char *caption, const char *tip, int left,
                                       int width) {
        ControlTemplate box =
            Control(id, ControlKind::CheckBox, caption, left, kSplitRow, width, 12);
        box.toolTip = tip;
        return Growing(box, kFollowRight);
    }

    const MainLayout &m_layout;
    int m_listWidth;
    int m_frameLeft;
    int m_spare; // the list's width the buttons leave for the gaps between them
};

DialogTemplate BuildMainDialog(const MainLayout &layout) {
    const MainPlaces at(layout);
    DialogTemplate dialog;
    dialog.id = IDD_FOLVANE_DIALOG;
    dialog.caption = std::string("Folvane ") + FOLVANE_VERSION;
    dialog.width = layout.dialogWidth;
    dialog.height = kSplitRow + 12 + kMargin;
    dialog.resizable = true;
    dialog.fontName = "宋体";
    dialog.fontPoints = 9;

    ControlTemplate list = Control(IDC_LIST_IMAGES, ControlKind::ListView, "", kMargin, kTop,
                                   at.ListWidth(), kFrameHeight);
    ControlTemplate frame = Control(IDC_PREVIEW_FRAME, ControlKind::StaticFrame, "", at.FrameLeft(),
                                    kTop, kFrameWidth, kFrameHeight);
    ControlTemplate clear = at.ListButton(IDC_BTN_CLEAR_LIST, TR_NOOP("Dialog", "清空列表"), 7);
    clear.toolTip = folvane::app::texts::kClearListTip;
    ControlTemplate corner = Control(-1, ControlKind::Picture, "", kMargin, 5, 117, 39);
    corner.resourceId = IDB_CORNER;
    ControlTemplate group =
        Control(IDC_GROUP_IMAGE_TYPE, ControlKind::GroupBox, TR_NOOP("Dialog", "图片类型"),
                kGroupLeft, 5, at.GroupWidth(), 39);
    ControlTemplate pathLabel = Control(-1, ControlKind::StaticText, TR_NOOP("Dialog", "存放路径:"),
                                        kMargin, kPathRow + 2, kPathLabelWidth, 12);

    // Tab order of the window.
    dialog.controls = {
        Growing(list, kGrowList),
        at.ListButton(IDC_BTN_MOVE_UP, TR_NOOP("Dialog", "上移"), 2),
        at.ListButton(IDC_BTN_MOVE_DOWN, TR_NOOP("Dialog", "下移"), 3),
        at.ViewButton(),
        at.ListButton(IDC_BTN_ADD_IMAGES, TR_NOOP("Dialog", "添加图片"), 0),
        at.ListButton(IDC_BTN_SCAN, TR_NOOP("Dialog", "扫描"), 1),
        at.ListButton(IDC_BTN_DELETE, TR_NOOP("Dialog", "删除"), 6),
        at.Generate(),
        Growing(frame, kGrowFrame),
        at.ListButton(IDC_BTN_MOVE_TOP, TR_NOOP("Dialog", "置顶"), 4),
        at.ListButton(IDC_BTN_MOVE_BOTTOM, TR_NOOP("Dialog", "置底"), 5),
        clear,
        at.SavePath(),
        Growing(pathLabel, kFollowBottom),
        at.Browse(),
        at.ListButton(IDC_BTN_SORT_BY_NAME, TR_NOOP("Dialog", "重新排序"), 8),
        at.Radio(IDC_RADIO_200, TR_NOOP("Dialog", "200万"), 0),
        at.Radio(IDC_RADIO_300, TR_NOOP("Dialog", "300万"), 1),
        at.Radio(IDC_RADIO_500, TR_NOOP("Dialog", "500万"), 2),
        Growing(group, ControlGrowth{0, 0, 1, 0}),
        corner,
        at.Radio(IDC_RADIO_800, TR_NOOP("Dialog", "800万"), 3),
        at.Radio(IDC_RADIO_1000, TR_NOOP("Dialog", "1000万"), 4),
        at.Radio(IDC_RADIO_1600, TR_NOOP("Dialog", "1600万"), 5),
        at.Radio(IDC_RADIO_FIT, TR_NOOP("Dialog", "适应页面"), 6),
        at.Ocr(),
        at.Document(),
        at.Encrypt(),
        at.CornersButton(),
        at.SkipBlank(),
        at.SplitBlank(),
        at.Spreads(),
        at.RightToLeft(),
        at.PaperGroup(),
        at.PaperChoice(),
    };
    dialog.accelerators = MainAccelerators();
    return dialog;
}

// The About box's line with the program's version (%1).
constexpr const char *kAboutVersion = TR_NOOP("Dialog", "Folvane %1 版");

// The About box: wider for translated lines, which are longer than the original's.
DialogTemplate BuildAboutDialog(bool original) {
    const int textWidth = original ? 156 : 196;
    DialogTemplate dialog;
    dialog.id = IDD_ABOUTBOX;
    dialog.caption = TR_NOOP("Dialog", "关于 Folvane");
    dialog.width = 44 + textWidth + 62;
    dialog.height = 62;
    dialog.fontName = "宋体";
    dialog.fontPoints = 9;
    ControlTemplate icon = Control(-1, ControlKind::Icon, "", 11, 14, 24, 24);
    icon.resourceId = IDR_MAINFRAME;
    ControlTemplate ok = Control(IDOK, ControlKind::DefPushButton, TR_NOOP("Dialog", "确定"),
                                 dialog.width - 57, 7, 50, 16);
    ok.group = true;
    dialog.controls = {
        icon,
        Control(-1, ControlKind::StaticText, kAboutVersion, 44, 12, 150, 12),
        Control(-1, ControlKind::StaticText,
                TR_NOOP("Dialog", "把扫描或拍摄的页面图片合成一份 PDF"), 44, 28, textWidth, 12),
        ok,
    };
    return dialog;
}

// The template with its captions and tips in the window's language.
DialogTemplate Translated(DialogTemplate dialog) {
    const auto translate = [](std::string &text) {
        if (!text.empty()) {
            text = Tr("Dialog", text.c_str());
        }
    };
    translate(dialog.caption);
    for (ControlTemplate &control : dialog.controls) {
        translate(control.caption);
        translate(control.toolTip);
    }
    return dialog;
}

} // namespace

DialogTemplate AboutDialogTemplate() {
    DialogTemplate dialog = Translated(BuildAboutDialog(SpeaksSourceLanguage()));
    // The version is the project's, as the title bar, --version and the package give it.
    for (ControlTemplate &control : dialog.controls) {
        if (control.caption == Tr("Dialog", kAboutVersion)) {
            control.caption = folvane::fill(control.caption, {FOLVANE_VERSION});
        }
    }
    return dialog;
}

DialogTemplate MainDialogTemplate() {
    return Translated(
        BuildMainDialog(SpeaksSourceLanguage() ? kOriginalLayout : kTranslatedLayout));
}

void LoadListMenu(CMenu &menu) {
    menu.DestroyMenu();
    CMenu &popup = menu.AppendPopup("MENU");
    popup.AppendMenu(MF_STRING, ID_MENU_EDIT_ITEM, Tr("Dialog", "资料修改"));
    popup.AppendMenu(MF_STRING, ID_MENU_PROPERTIES,
                     Tr("Dialog", folvane::app::texts::kPropertiesItem));
    popup.AppendMenu(MF_STRING, ID_MENU_ABOUT, Tr("Dialog", "关于"));
    popup.AppendMenu(MF_STRING, ID_MENU_EXIT, Tr("Dialog", "退出"));
}

std::string LoadStringResource(int id) {
    if (id == IDS_ABOUTBOX) {
        return Tr("Dialog", "关于 Folvane(&A)...");
    }
    return {};
}
