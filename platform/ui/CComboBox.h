#pragma once

#include <string>

#include "platform/ui/CWnd.h"

class ComboBoxPeer;

// A drop-down list control (see ComboBoxPeer). While it is not attached to a window it behaves
// as an empty list that refuses every choice.
class CComboBox : public CWnd {
public:
    void Attach(WndPeer *window, ComboBoxPeer *items);
    void Detach() override;

    void ResetContent();
    int AddString(const std::string &text);
    int GetCount() const;
    std::string GetLBText(int index) const;
    int GetCurSel() const;
    bool SetCurSel(int index);

private:
    ComboBoxPeer *m_items = nullptr;
};
