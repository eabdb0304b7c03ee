#include "platform/ui/HeadlessComboBox.h"

void HeadlessComboBox::ResetContent() {
    m_items.clear();
    m_chosen = -1;
}

int HeadlessComboBox::AddString(const std::string &text) {
    m_items.push_back(text);
    return GetCount() - 1;
}

std::string HeadlessComboBox::GetLBText(int index) const {
    return index >= 0 && index < GetCount() ? m_items[static_cast<std::size_t>(index)] : "";
}

bool HeadlessComboBox::SetCurSel(int index) {
    if (index < -1 || index >= GetCount()) {
        return false;
    }
    m_chosen = index;
    return true;
}
