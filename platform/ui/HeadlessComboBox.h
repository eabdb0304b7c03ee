#pragma once

#include <string>
#include <vector>

#include "platform/ui/ComboBoxPeer.h"
#include "platform/ui/HeadlessWnd.h"

// A drop-down list without a screen: its items and the chosen one, in memory.
class HeadlessComboBox : public HeadlessWnd, public ComboBoxPeer {
public:
    using HeadlessWnd::HeadlessWnd;

    std::string GetWindowText() const override { return GetLBText(m_chosen); }
    void ResetContent() override;
    int AddString(const std::string &text) override;
    int GetCount() const override { return static_cast<int>(m_items.size()); }
    std::string GetLBText(int index) const override;
    int GetCurSel() const override { return m_chosen; }
    bool SetCurSel(int index) override;

    const std::vector<std::string> &Items() const { return m_items; }

private:
    std::vector<std::string> m_items;
    int m_chosen = -1;
};
