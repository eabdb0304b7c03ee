#pragma once

#include <string>

// The items of a drop-down list control. The window of a ComboBox control implements this
// beside WndPeer; its GetWindowText is the chosen item's text.
class ComboBoxPeer {
public:
    virtual ~ComboBoxPeer() = default;

    virtual void ResetContent() = 0;
    // Appends an item; returns its index.
    virtual int AddString(const std::string &text) = 0;
    virtual int GetCount() const = 0;
    // The text of an item, "" for an index that names none.
    virtual std::string GetLBText(int index) const = 0;
    // The chosen item, -1 for none.
    virtual int GetCurSel() const = 0;
    // Chooses an item (-1: none) without telling the dialog; false for an index that names none.
    virtual bool SetCurSel(int index) = 0;
};
