#pragma once

#include <QComboBox>
#include <QPointer>

#include "platform/qt/QtWnd.h"
#include "platform/ui/ComboBoxPeer.h"

// A drop-down list control's window over a QComboBox; its text is the chosen item's.
class QtComboWnd : public QtWnd, public ComboBoxPeer {
public:
    explicit QtComboWnd(QComboBox *combo) : QtWnd(combo), m_combo(combo) {}

    std::string GetWindowText() const override;
    void ResetContent() override;
    int AddString(const std::string &text) override;
    int GetCount() const override;
    std::string GetLBText(int index) const override;
    int GetCurSel() const override;
    bool SetCurSel(int index) override;

private:
    QPointer<QComboBox> m_combo;
};
