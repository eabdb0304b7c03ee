#include "platform/qt/QtComboWnd.h"

std::string QtComboWnd::GetWindowText() const {
    return m_combo ? m_combo->currentText().toStdString() : std::string();
}

void QtComboWnd::ResetContent() {
    if (m_combo) {
        m_combo->clear();
    }
}

int QtComboWnd::AddString(const std::string &text) {
    if (!m_combo) {
        return -1;
    }
    m_combo->addItem(QString::fromStdString(text));
    return m_combo->count() - 1;
}

int QtComboWnd::GetCount() const {
    return m_combo ? m_combo->count() : 0;
}

std::string QtComboWnd::GetLBText(int index) const {
    return m_combo ? m_combo->itemText(index).toStdString() : std::string();
}

int QtComboWnd::GetCurSel() const {
    return m_combo ? m_combo->currentIndex() : -1;
}

bool QtComboWnd::SetCurSel(int index) {
    if (!m_combo || index < -1 || index >= m_combo->count()) {
        return false;
    }
    // setCurrentIndex announces only currentIndexChanged, which the dialog does not listen to.
    m_combo->setCurrentIndex(index);
    return true;
}
