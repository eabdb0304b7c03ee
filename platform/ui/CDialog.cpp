#include "platform/ui/CDialog.h"

#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogPeer.h"
#include "platform/ui/UiToolkit.h"

CDialog::CDialog(DialogTemplate dialog, UiToolkit &ui) : m_template(std::move(dialog)), m_ui(ui) {}

CDialog::~CDialog() = default;

bool CDialog::Create() {
    if (m_peer) {
        return true;
    }
    m_endResult = 0;
    m_peer = m_ui.CreateDialogPeer(m_template, *this);
    if (!m_peer) {
        return false;
    }
    m_systemMenu.DestroyMenu();
    m_systemMenu.BindSystemMenu(m_peer.get());
    OnInitDialog();
    return true;
}

int CDialog::DoModal() {
    if (!Create()) {
        return -1;
    }
    // A dialog may end during its own start-up; it then never shows.
    const int result = m_endResult != 0 ? m_endResult : m_peer->RunModalLoop();
    DestroyWindow();
    return result;
}

void CDialog::DestroyWindow() {
    m_items.clear();
    for (CWnd *control : m_exchanged) {
        control->Detach();
    }
    m_exchanged.clear();
    m_systemMenu.BindSystemMenu(nullptr);
    m_peer.reset();
}

void CDialog::EndDialog(int result) {
    m_endResult = result;
    if (m_peer) {
        m_peer->EndModalLoop(result);
    }
}

LRESULT CDialog::SendMessage(const UiMessage &msg) {
    LRESULT result = 0;
    if (OnWndMsg(msg, &result)) {
        return result;
    }
    if (msg.message == WM_CLOSE || (msg.message == WM_COMMAND && msg.id == IDCANCEL)) {
        OnCancel();
    } else if (msg.message == WM_COMMAND && msg.id == IDOK) {
        OnOK();
    }
    return result;
}

void CDialog::PostMessage(UINT message, int id) {
    if (m_peer) {
        m_peer->PostMessage(message, id);
    }
}

bool CDialog::OnWndMsg(const UiMessage & /*msg*/, LRESULT * /*result*/) {
    return false;
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::DoDataExchange(CDataExchange * /*dx*/) {}

bool CDialog::UpdateData(bool saveAndValidate) {
    if (!m_peer) {
        return false;
    }
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return true;
}

void CDialog::OnOK() {
    if (!UpdateData(true)) {
        return;
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

CWnd *CDialog::GetDlgItem(int id) {
    if (!m_peer) {
        return nullptr;
    }
    auto found = m_items.find(id);
    if (found != m_items.end()) {
        return found->second.get();
    }
    WndPeer *control = m_peer->Control(id);
    if (!control) {
        return nullptr;
    }
    auto &item = m_items[id];
    item = std::make_unique<CWnd>(control);
    return item.get();
}

int CDialog::MessageBox(const std::string &text, const std::string &caption, UINT type) {
    return m_peer ? m_peer->MessageBox(text, caption, type) : 0;
}

int CDialog::AskQuestion(const std::string &text, const std::string &caption,
                         const std::vector<std::string> &buttons) {
    return m_peer ? m_peer->AskQuestion(text, caption, buttons) : -1;
}

std::optional<std::string> CDialog::AskPassword(const PasswordRequest &request) {
    return m_peer ? m_peer->AskPassword(request) : std::nullopt;
}

void CDialog::RunWithProgress(const ProgressRequest &request, ProgressState &state,
                              const std::function<void()> &work) {
    if (!m_peer) {
        work();
        return;
    }
    m_peer->RunWithProgress(request, state, work);
}

CornerEditAnswer CDialog::EditCorners(const CornerEditRequest &request) {
    return m_peer ? m_peer->EditCorners(request) : CornerEditAnswer{};
}

CropEditAnswer CDialog::EditCrop(const CropEditRequest &request) {
    return m_peer ? m_peer->EditCrop(request) : CropEditAnswer{};
}

CMenu *CDialog::GetSystemMenu(bool /*revert*/) {
    if (!m_peer || !m_peer->HasSystemMenu()) {
        return nullptr;
    }
    return &m_systemMenu;
}

void CDialog::SetIcon(int iconResource, bool big) {
    if (m_peer) {
        m_peer->SetIcon(iconResource, big);
    }
}

void CDialog::BeginWaitCursor() {
    if (m_peer) {
        m_peer->BeginWaitCursor();
    }
}

void CDialog::EndWaitCursor() {
    if (m_peer) {
        m_peer->EndWaitCursor();
    }
}
