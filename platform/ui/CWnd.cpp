#include "platform/ui/CWnd.h"

#include "platform/gdi/Gdi.h"
#include "platform/ui/WndPeer.h"

void CWnd::SetWindowText(const std::string &text) {
    if (m_peer) {
        m_peer->SetWindowText(text);
    }
}

std::string CWnd::GetWindowText() const {
    return m_peer ? m_peer->GetWindowText() : std::string();
}

void CWnd::SetCheck(bool checked) {
    if (m_peer) {
        m_peer->SetCheck(checked);
    }
}

bool CWnd::GetCheck() const {
    return m_peer && m_peer->GetCheck();
}

void CWnd::EnableWindow(bool enable) {
    if (m_peer) {
        m_peer->EnableWindow(enable);
    }
}

bool CWnd::IsWindowEnabled() const {
    return m_peer && m_peer->IsWindowEnabled();
}

void CWnd::SetFocus() {
    if (m_peer) {
        m_peer->SetFocus();
    }
}

void CWnd::Invalidate(bool erase) {
    if (m_peer) {
        m_peer->Invalidate(erase);
    }
}

void CWnd::UpdateWindow() {
    if (m_peer) {
        m_peer->UpdateWindow();
    }
}

UiRect CWnd::GetClientRect() const {
    return m_peer ? m_peer->GetClientRect() : UiRect{};
}

HDC CWnd::GetWindowDC() {
    return m_peer ? ::GetWindowDC(m_peer->Surface()) : nullptr;
}

int CWnd::ReleaseDC(HDC dc) {
    if (!m_peer || !::ReleaseDC(m_peer->Surface(), dc)) {
        return 0;
    }
    m_peer->SurfaceDrawn();
    return 1;
}
