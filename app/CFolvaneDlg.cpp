#include "app/CFolvaneDlg.h"

#include <array>

#include "app/BackgroundQueue.h"
#include "app/CAboutDlg.h"
#include "app/CorrectedPreview.h"
#include "app/PreviewPicture.h"
#include "app/Resource.h"
#include "app/Resources.h"
#include "app/WindowSettings.h"
#include "app/WindowTexts.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogPeer.h"
#include "platform/ui/UiToolkit.h"

CFolvaneDlg::CFolvaneDlg(UiToolkit &ui) : CDialog(MainDialogTemplate(), ui) {
    m_strSavePath = "";
    m_nImageType = 1;
    m_bOcr = false;
    m_bDocument = false;
    m_bSkipBlank = false;
    m_bSplitAtBlank = false;
    m_bSpreads = false;
    m_bRightToLeft = false;
    m_hIcon = ui.HasIcon(IDR_MAINFRAME) ? IDR_MAINFRAME : 0;
    m_fnInspect = [](const std::string &path) { return folvane::inspectImage(path); };
    m_scannerJobs = std::make_unique<BackgroundQueue>(ui);
    m_checks = std::make_unique<BackgroundQueue>(ui);
    m_blankChecks = std::make_unique<BackgroundQueue>(ui);
    m_correctedPreview = std::make_unique<CorrectedPreviewCache>();
}

CFolvaneDlg::~CFolvaneDlg() = default;

void CFolvaneDlg::DoDataExchange(CDataExchange *dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_LIST_IMAGES, m_listImages);
    DDX_Text(dx, IDC_EDIT_SAVE_PATH, m_strSavePath);
    DDX_Radio(dx, IDC_RADIO_200, m_nImageType);
    DDX_Check(dx, IDC_CHECK_OCR, m_bOcr);
    DDX_Check(dx, IDC_CHECK_DOCUMENT, m_bDocument);
    DDX_Check(dx, IDC_CHECK_SKIP_BLANK, m_bSkipBlank);
    DDX_Check(dx, IDC_CHECK_SPLIT_BLANK, m_bSplitAtBlank);
    DDX_Check(dx, IDC_CHECK_SPREADS, m_bSpreads);
    DDX_Check(dx, IDC_CHECK_RIGHT_TO_LEFT, m_bRightToLeft);
    DDX_Control(dx, IDC_COMBO_PAPER, m_paperChoice);
}

std::span<const MessageMapEntry<CFolvaneDlg>> CFolvaneDlg::MessageMap() {
    using D = CFolvaneDlg;
    static const std::array<MessageMapEntry<D>, 46> map = {
        ::OnSysCommand<D>(&D::OnSysCommand),
        OnCommand<D>(IDC_BTN_MOVE_UP, &D::OnBtnMoveUp),
        OnNotify<D>(NM_CLICK, IDC_LIST_IMAGES, &D::OnClickList),
        OnCommand<D>(IDC_BTN_MOVE_DOWN, &D::OnBtnMoveDown),
        OnNotify<D>(NM_DBLCLK, IDC_LIST_IMAGES, &D::OnDblclkList),
        OnCommand<D>(ID_MENU_EDIT_ITEM, &D::OnBtnViewImage),
        OnCommand<D>(ID_MENU_ABOUT, &D::OnMenuAbout),
        OnCommand<D>(ID_MENU_EXIT, &D::OnMenuExit),
        OnNotify<D>(NM_RCLICK, IDC_LIST_IMAGES, &D::OnRclickList),
        OnNotify<D>(LVN_ITEMCHANGED, IDC_LIST_IMAGES, &D::OnItemChangedList),
        OnNotify<D>(LVN_ROWDRAGGED, IDC_LIST_IMAGES, &D::OnRowDraggedList),
        ::OnDropFiles<D>(IDC_LIST_IMAGES, &D::OnDropFiles),
        OnCommand<D>(IDC_BTN_ADD_IMAGES, &D::OnBtnAddImages),
        OnCommand<D>(IDC_BTN_SCAN, &D::OnBtnScan),
        OnCommand<D>(IDC_BTN_DELETE, &D::OnBtnDelete),
        OnCommand<D>(IDC_BTN_GENERATE, &D::OnBtnGenerate),
        OnCommand<D>(IDC_BTN_MOVE_TOP, &D::OnBtnMoveTop),
        OnCommand<D>(IDC_BTN_MOVE_BOTTOM, &D::OnBtnMoveBottom),
        OnCommand<D>(IDC_BTN_CLEAR_LIST, &D::OnBtnClearList),
        OnCommand<D>(IDC_BTN_BROWSE, &D::OnBtnBrowse),
        OnCommand<D>(IDC_BTN_SORT_BY_NAME, &D::OnBtnSortByName),
        OnCommand<D>(IDC_RADIO_200, &D::OnRadioImageType<0>),
        OnCommand<D>(IDC_RADIO_300, &D::OnRadioImageType<1>),
        OnCommand<D>(IDC_RADIO_500, &D::OnRadioImageType<2>),
        OnCommand<D>(IDC_RADIO_800, &D::OnRadioImageType<3>),
        OnCommand<D>(IDC_RADIO_1000, &D::OnRadioImageType<4>),
        OnCommand<D>(IDC_RADIO_1600, &D::OnRadioImageType<5>),
        OnCommand<D>(IDC_RADIO_FIT, &D::OnRadioImageType<6>),
        OnCommand<D>(IDC_BTN_VIEW_IMAGE, &D::OnBtnViewImage),
        OnCommand<D>(IDC_CHECK_OCR, &D::OnCheckOcr),
        OnCommand<D>(IDC_CHECK_DOCUMENT, &D::OnCheckDocument),
        OnCommand<D>(IDC_CHECK_SKIP_BLANK, &D::OnCheckSkipBlank),
        OnCommand<D>(IDC_CHECK_SPLIT_BLANK, &D::OnCheckSplitAtBlank),
        OnCommand<D>(IDC_CHECK_SPREADS, &D::OnCheckSpreads),
        OnCommand<D>(IDC_CHECK_RIGHT_TO_LEFT, &D::OnCheckRightToLeft),
        OnCommand<D>(IDC_BTN_CORNERS, &D::OnBtnCorners),
        OnNotify<D>(NM_DBLCLK, IDC_PREVIEW_FRAME, &D::OnDblclkPreview),
        OnCommand<D>(ID_EDIT_UNDO, &D::OnEditUndo),
        OnCommand<D>(ID_ROTATE_LEFT, &D::OnRotateLeft),
        OnCommand<D>(ID_ROTATE_RIGHT, &D::OnRotateRight),
        OnCommand<D>(ID_CROP, &D::OnCrop),
        OnCommand<D>(ID_INTERLEAVE, &D::OnInterleave),
        OnCommand<D>(ID_EDIT_REDO, &D::OnEditRedo),
        OnMessage<D>(WM_SIZE, &D::OnSize),
        OnSelChange<D>(IDC_COMBO_PAPER, &D::OnPaperChosen),
        OnCommand<D>(ID_MENU_PROPERTIES, &D::OnMenuProperties),
    };
    return map;
}

bool CFolvaneDlg::OnWndMsg(const UiMessage &msg, LRESULT *result) {
    return DispatchMessageMap<CFolvaneDlg>(*this, MessageMap(), msg, result);
}

bool CFolvaneDlg::OnInitDialog() {
    const WindowSettings settings(Toolkit().Settings());
    m_nImageType = settings.imageType(m_nImageType);
    m_bOcr = settings.ocr(m_bOcr);
    m_bDocument = settings.document(m_bDocument);
    m_bSkipBlank = settings.skipBlank(m_bSkipBlank);
    m_bSplitAtBlank = settings.splitAtBlank(m_bSplitAtBlank);
    m_bSpreads = settings.spreads(m_bSpreads);
    m_bRightToLeft = settings.rightToLeft(m_bRightToLeft);
    m_nPaper = settings.paper(m_nPaper);
    CDialog::OnInitDialog();
    FillPaperChoice();
    EnableCornersButton();
    EnableBookChoices();
    if (const std::optional<WindowPlacement> placement = settings.placement();
        placement && Peer()) {
        Peer()->SetPlacement(*placement);
    }

    if (CMenu *systemMenu = GetSystemMenu(false)) {
        const std::string aboutText = LoadStringResource(IDS_ABOUTBOX);
        if (!aboutText.empty()) {
            systemMenu->AppendMenu(MF_SEPARATOR);
            systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutText);
        }
    }

    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);

    m_imageList.Create(16, 16, ILC_MASK, 2, 2);
    // The resources hold no row icon, so the image list stays empty and rows show none.
    m_imageList.Add(Toolkit().HasIcon(IDI_LIST_ITEM) ? IDI_LIST_ITEM : 0);
    m_listImages.SetImageList(m_imageList, LVSIL_SMALL);

    m_fontList.CreateFont(16, 0, 0, 0, FW_NORMAL, false, false, false, DEFAULT_CHARSET,
                          OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, "Arial");
    m_listImages.SetFont(m_fontList);

    m_listImages.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    m_listImages.SetBkColor(ui::RGB(247, 247, 255));
    m_listImages.SetTextColor(ui::RGB(0, 0, 255));
    m_listImages.SetTextBkColor(ui::RGB(247, 247, 255));
    m_listImages.InsertColumn(0, folvane::app::texts::window(folvane::app::texts::kNumberColumn),
                              LVCFMT_LEFT, 50);
    m_listImages.InsertColumn(1, folvane::app::texts::window(folvane::app::texts::kFileColumn),
                              LVCFMT_LEFT, 455);
    AppendFiles(m_startFiles);
    return true;
}

void CFolvaneDlg::OnOK() {}

void CFolvaneDlg::OnCancel() {
    const int count = m_pages.count();
    if (count > 0 && ListPaths() != m_writtenPaths) {
        const std::string question =
            folvane::app::texts::windowCount(folvane::app::texts::kExitQuestion, count);
        if (AskQuestion(question, folvane::app::texts::window(kCaptionNotice),
                        {folvane::app::texts::window(kAnswerOk),
                         folvane::app::texts::window(kAnswerCancel)}) != 0) {
            return;
        }
    }
    if (Peer()) {
        WindowSettings(Toolkit().Settings()).setPlacement(Peer()->GetPlacement());
    }
    CDialog::OnCancel();
}

void CFolvaneDlg::OnSize() {
    RefreshPreview();
}

void CFolvaneDlg::SetImageType(int index) {
    m_nImageType = index;
    WindowSettings(Toolkit().Settings()).setImageType(index);
    RefreshPreview();
    ShowRowChecks(); // how much a class cuts off depends on the class
}

void CFolvaneDlg::OnCheckOcr() {
    if (CWnd *check = GetDlgItem(IDC_CHECK_OCR)) {
        m_bOcr = check->GetCheck();
        WindowSettings(Toolkit().Settings()).setOcr(m_bOcr);
    }
}

void CFolvaneDlg::OnCheckDocument() {
    if (CWnd *check = GetDlgItem(IDC_CHECK_DOCUMENT)) {
        m_bDocument = check->GetCheck();
        WindowSettings(Toolkit().Settings()).setDocument(m_bDocument);
        EnableCornersButton();
        EnableBookChoices();
        SearchSheets(m_pages.order().ids);
        JudgeBlankPagesAgain(); // the rule reads the page as it goes in: corrected, or not
        ShowRowChecks();
        RefreshPreview();
    }
}

void CFolvaneDlg::OnSysCommand(UINT id, std::intptr_t /*param*/) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about(Toolkit());
        about.DoModal();
    }
}

void CFolvaneDlg::OnMenuAbout() {
    CAboutDlg about(Toolkit());
    about.DoModal();
}

void CFolvaneDlg::OnMenuExit() {
    PostMessage(WM_CLOSE);
}

void CFolvaneDlg::Inform(const std::string &text) {
    MessageBox(text, folvane::app::texts::window(kCaptionNotice), MB_OK | MB_ICONINFORMATION);
}

bool CFolvaneDlg::OpenWithShell(const std::string &path) {
    if (Toolkit().ShellExecute("open", path, SW_SHOWNORMAL)) {
        return true;
    }
    Inform(folvane::app::texts::window(folvane::app::texts::kCannotOpen, {path}));
    return false;
}
