#include "platform/ui/CMenu.h"

#include "platform/ui/CDialog.h"

bool CMenu::AppendMenu(UINT flags, int id, const std::string &text) {
    MenuItem item{flags, id, (flags & MF_SEPARATOR) ? std::string() : text};
    m_items.push_back(item);
    m_popups.push_back(nullptr);
    if (m_systemMenuOf) {
        m_systemMenuOf->AppendSystemMenu(item);
    }
    return true;
}

CMenu &CMenu::AppendPopup(const std::string &text) {
    m_items.push_back(MenuItem{MF_STRING, 0, text});
    m_popups.push_back(std::make_unique<CMenu>());
    return *m_popups.back();
}

CMenu *CMenu::GetSubMenu(int position) {
    if (position < 0 || position >= static_cast<int>(m_popups.size())) {
        return nullptr;
    }
    return m_popups[position].get();
}

bool CMenu::TrackPopupMenu(UINT flags, int x, int y, CDialog *owner) {
    if (!owner || !owner->Peer()) {
        return false;
    }
    const int chosen = owner->Peer()->TrackPopupMenu(m_items, flags, UiPoint{x, y});
    if (chosen == 0) {
        return false;
    }
    owner->SendMessage(UiMessage{WM_COMMAND, chosen, 0, 0});
    return true;
}

void CMenu::DestroyMenu() {
    m_items.clear();
    m_popups.clear();
}
