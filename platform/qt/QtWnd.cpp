#include "platform/qt/QtWnd.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "platform/qt/PreviewFrame.h"

void QtWnd::SetWindowText(const std::string &text) {
    const QString value = QString::fromStdString(text);
    if (auto *button = qobject_cast<QAbstractButton *>(m_widget)) {
        button->setText(value);
    } else if (auto *edit = qobject_cast<QLineEdit *>(m_widget)) {
        edit->setText(value);
        edit->setCursorPosition(0);
    } else if (auto *label = qobject_cast<QLabel *>(m_widget)) {
        label->setText(value);
    } else if (auto *group = qobject_cast<QGroupBox *>(m_widget)) {
        group->setTitle(value);
    } else if (m_widget) {
        m_widget->setWindowTitle(value);
    }
}

std::string QtWnd::GetWindowText() const {
    QString value;
    if (auto *button = qobject_cast<QAbstractButton *>(m_widget)) {
        value = button->text();
    } else if (auto *edit = qobject_cast<QLineEdit *>(m_widget)) {
        value = edit->text();
    } else if (auto *label = qobject_cast<QLabel *>(m_widget)) {
        value = label->text();
    } else if (auto *group = qobject_cast<QGroupBox *>(m_widget)) {
        value = group->title();
    } else if (m_widget) {
        value = m_widget->windowTitle();
    }
    return value.toStdString();
}

void QtWnd::SetCheck(bool checked) {
    auto *button = qobject_cast<QAbstractButton *>(m_widget);
    if (!button || !button->isCheckable()) {
        return;
    }
    // An exclusive group never lets its checked button go by itself; clearing it needs the
    // exclusivity lifted for a moment.
    QButtonGroup *group = button->group();
    const bool lift = !checked && group && group->exclusive() && button->isChecked();
    if (lift) {
        group->setExclusive(false);
    }
    button->setChecked(checked);
    if (lift) {
        group->setExclusive(true);
    }
}

bool QtWnd::GetCheck() const {
    auto *button = qobject_cast<QAbstractButton *>(m_widget);
    return button && button->isChecked();
}

void QtWnd::EnableWindow(bool enable) {
    if (m_widget) {
        m_widget->setEnabled(enable);
    }
}

bool QtWnd::IsWindowEnabled() const {
    return m_widget && m_widget->isEnabled();
}

void QtWnd::SetFocus() {
    if (m_widget) {
        m_widget->setFocus(Qt::OtherFocusReason);
    }
}

bool QtWnd::HasFocus() const {
    return m_widget && m_widget->hasFocus();
}

void QtWnd::Invalidate(bool erase) {
    // Qt widgets paint their whole background on every repaint; the preview frame also keeps
    // the picture drawn on it, which only an erasing invalidation clears.
    if (auto *frame = qobject_cast<PreviewFrame *>(m_widget); frame && erase) {
        frame->RequestErase();
    }
    if (m_widget) {
        m_widget->update();
    }
}

void QtWnd::UpdateWindow() {
    if (auto *frame = qobject_cast<PreviewFrame *>(m_widget)) {
        frame->ApplyPendingErase();
    }
    if (m_widget) {
        m_widget->repaint();
    }
}

UiRect QtWnd::GetClientRect() const {
    if (!m_widget) {
        return {};
    }
    const QRect client = m_widget->contentsRect();
    return UiRect{0, 0, client.width(), client.height()};
}

CSurface *QtWnd::Surface() {
    auto *frame = qobject_cast<PreviewFrame *>(m_widget);
    return frame ? frame->Surface() : nullptr;
}

void QtWnd::SurfaceDrawn() {
    if (m_widget) {
        m_widget->repaint();
    }
}
