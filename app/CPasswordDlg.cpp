#include "app/CPasswordDlg.h"

#include <algorithm>

#include "app/CFolvaneDlg.h"
#include "app/PasswordTexts.h"
#include "app/Resource.h"
#include "app/WindowTexts.h"
#include "platform/ui/DataExchange.h"

namespace {

// Overwrites a password's bytes before its memory is given back.
void Wipe(std::string &text) {
    std::fill(text.begin(), text.end(), '\0');
    text.clear();
}

constexpr int kMargin = 7;
constexpr int kRowStep = 20;
constexpr int kButtonWidth = 50;

// The widths that depend on the captions' language: translated labels are longer.
struct PasswordLayout {
    int dialogWidth;
    int labelWidth;
};
constexpr PasswordLayout kOriginalLayout{250, 62};
constexpr PasswordLayout kTranslatedLayout{300, 84};

} // namespace

DialogTemplate PasswordDialogTemplate() {
    const PasswordLayout layout = SpeaksSourceLanguage() ? kOriginalLayout : kTranslatedLayout;
    const int dialogWidth = layout.dialogWidth;
    const int fieldLeft = kMargin + layout.labelWidth + 4;
    const int fieldWidth = dialogWidth - kMargin - fieldLeft;
    DialogTemplate dialog;
    dialog.id = IDD_PASSWORD_DIALOG;
    dialog.caption = Tr("Password", folvane::app::texts::kPasswordCaption);
    dialog.width = dialogWidth;
    dialog.fontName = "宋体";
    dialog.fontPoints = 9;
    dialog.controls.push_back(Control(-1, ControlKind::StaticText,
                                      Tr("Password", folvane::app::texts::kPasswordIntro), kMargin,
                                      kMargin, dialogWidth - 2 * kMargin, 20));
    const std::pair<int, const char *> rows[] = {
        {IDC_PASSWORD_USER, folvane::app::texts::kUserPasswordLabel},
        {IDC_PASSWORD_CONFIRM, folvane::app::texts::kConfirmPasswordLabel},
        {IDC_PASSWORD_OWNER, folvane::app::texts::kOwnerPasswordLabel},
    };
    int y = kMargin + 26;
    for (const auto &[id, label] : rows) {
        dialog.controls.push_back(Control(-1, ControlKind::StaticText, Tr("Password", label),
                                          kMargin, y + 2, layout.labelWidth, 12));
        ControlTemplate field = Control(id, ControlKind::Edit, "", fieldLeft, y, fieldWidth, 14);
        field.password = true;
        dialog.controls.push_back(field);
        y += kRowStep;
    }
    dialog.controls.push_back(Control(-1, ControlKind::StaticText,
                                      Tr("Password", folvane::app::texts::kOwnerPasswordHint),
                                      fieldLeft, y - 4, fieldWidth, 12));
    y += 12;
    dialog.controls.push_back(Control(IDC_PASSWORD_PRINT, ControlKind::CheckBox,
                                      Tr("Password", folvane::app::texts::kAllowPrinting),
                                      fieldLeft, y, fieldWidth, 12));
    dialog.controls.push_back(Control(IDC_PASSWORD_COPY, ControlKind::CheckBox,
                                      Tr("Password", folvane::app::texts::kAllowCopying), fieldLeft,
                                      y + 14, fieldWidth, 12));
    y += 36;
    ControlTemplate ok =
        Control(IDOK, ControlKind::DefPushButton, Tr("Password", folvane::app::texts::kPasswordOk),
                dialogWidth - kMargin - 2 * kButtonWidth - 4, y, kButtonWidth, 16);
    ok.group = true;
    dialog.controls.push_back(ok);
    dialog.controls.push_back(Control(IDCANCEL, ControlKind::PushButton,
                                      Tr("Password", folvane::app::texts::kPasswordCancel),
                                      dialogWidth - kMargin - kButtonWidth, y, kButtonWidth, 16));
    dialog.height = y + 16 + kMargin;
    return dialog;
}

CPasswordDlg::CPasswordDlg(UiToolkit &ui) : CDialog(PasswordDialogTemplate(), ui) {}

CPasswordDlg::~CPasswordDlg() {
    Wipe(m_strUser);
    Wipe(m_strConfirm);
    Wipe(m_strOwner);
    Wipe(m_settings.userPassword);
    Wipe(m_settings.ownerPassword);
}

void CPasswordDlg::DoDataExchange(CDataExchange *dx) {
    DDX_Text(dx, IDC_PASSWORD_USER, m_strUser);
    DDX_Text(dx, IDC_PASSWORD_CONFIRM, m_strConfirm);
    DDX_Text(dx, IDC_PASSWORD_OWNER, m_strOwner);
    DDX_Check(dx, IDC_PASSWORD_PRINT, m_bPrint);
    DDX_Check(dx, IDC_PASSWORD_COPY, m_bCopy);
}

std::string CPasswordDlg::Refusal() const {
    using folvane::pdfdoc::PasswordProblem;
    if (m_strUser != m_strConfirm) {
        return Tr("Password", folvane::app::texts::kPasswordMismatch);
    }
    const auto problem = folvane::pdfdoc::checkSettings({m_strUser, m_strOwner, true, true});
    if (!problem) {
        return "";
    }
    switch (*problem) {
    case PasswordProblem::Empty:
        return Tr("Password", folvane::app::texts::kPasswordEmpty);
    case PasswordProblem::TooLong:
        return Tr("Password", folvane::app::texts::kPasswordTooLong);
    case PasswordProblem::SameAsUser:
        return Tr("Password", folvane::app::texts::kPasswordSame);
    case PasswordProblem::NotUtf8: // typed text is UTF-8: only control characters are left
    case PasswordProblem::Control:
        break;
    }
    return Tr("Password", folvane::app::texts::kPasswordControl);
}

void CPasswordDlg::OnOK() {
    UpdateData(true);
    const std::string refusal = Refusal();
    if (!refusal.empty()) {
        MessageBox(refusal, folvane::app::texts::window(kCaptionNotice),
                   MB_OK | MB_ICONINFORMATION);
        return;
    }
    m_settings = {m_strUser, m_strOwner, m_bPrint, m_bCopy};
    CDialog::OnOK();
}
