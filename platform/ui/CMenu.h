#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/DialogPeer.h"
#include "platform/ui/UiDefs.h"

class CDialog;

// A menu: items in order, some of them pop-ups with their own menu. The system menu of a dialog
// is a CMenu whose appended items go to the dialog's window.
class CMenu {
public:
    CMenu() = default;
    CMenu(const CMenu &) = delete;
    CMenu &operator=(const CMenu &) = delete;

    bool AppendMenu(UINT flags, int id = 0, const std::string &text = {});
    // Appends a pop-up item and returns its (empty) menu.
    CMenu &AppendPopup(const std::string &text);
    // The pop-up at position, or null when the item there is not a pop-up.
    CMenu *GetSubMenu(int position);
    // Tracks this menu at (x, y) on the owner's window; the chosen command is sent to the owner as
    // WM_COMMAND before this returns. False when nothing was chosen.
    bool TrackPopupMenu(UINT flags, int x, int y, CDialog *owner);
    void DestroyMenu();

    const std::vector<MenuItem> &Items() const { return m_items; }

    // Binds this menu to a dialog window's system menu.
    void BindSystemMenu(DialogPeer *peer) { m_systemMenuOf = peer; }

private:
    std::vector<MenuItem> m_items;
    std::vector<std::unique_ptr<CMenu>> m_popups; // parallel to m_items; null for plain items
    DialogPeer *m_systemMenuOf = nullptr;
};
