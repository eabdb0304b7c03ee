#include "platform/ui/CComboBox.h"

#include "platform/ui/ComboBoxPeer.h"

void CComboBox::Attach(WndPeer *window, ComboBoxPeer *items) {
    CWnd::Attach(window);
    m_items = items;
}

void CComboBox::Detach() {
    CWnd::Detach();
    m_items = nullptr;
}

void CComboBox::ResetContent() {
    if (m_items) {
        m_items->ResetContent();
    }
}

int CComboBox::AddString(const std::string &text) {
    return m_items ? m_items->AddString(text) : -1;
}

int CComboBox::GetCount() const {
    return m_items ? m_items->GetCount() : 0;
}

std::string CComboBox::GetLBText(int index) const {
    return m_items ? m_items->GetLBText(index) : std::string();
}

int CComboBox::GetCurSel() const {
    return m_items ? m_items->GetCurSel() : -1;
}

bool CComboBox::SetCurSel(int index) {
    return m_items && m_items->SetCurSel(index);
}
