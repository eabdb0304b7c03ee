#pragma once

#include <string>

#include "pdfdoc/Encryption.h"
#include "platform/ui/CDialog.h"

class UiToolkit;

// The password dialog "加密", asked each time a PDF is written locked: a password to open it,
// typed twice, an optional owner password, and whether printing and copying are allowed. "确定"
// ends it with IDOK only for passwords that can lock the PDF, else a box says why and the
// dialog stays. Nothing typed here is kept beyond the dialog object.
class CPasswordDlg : public CDialog {
public:
    explicit CPasswordDlg(UiToolkit &ui);
    ~CPasswordDlg() override;

    // The settings once the dialog ended with IDOK.
    const folvane::pdfdoc::EncryptionSettings &Settings() const { return m_settings; }

    void DoDataExchange(CDataExchange *dx) override;
    void OnOK() override;

private:
    // Why the fields cannot lock a PDF, as the box says it; "" when they can.
    std::string Refusal() const;

    std::string m_strUser;
    std::string m_strConfirm;
    std::string m_strOwner;
    bool m_bPrint = true;
    bool m_bCopy = true;
    folvane::pdfdoc::EncryptionSettings m_settings;
};

// The dialog's template, in the window's language.
DialogTemplate PasswordDialogTemplate();
