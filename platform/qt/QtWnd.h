#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/ui/WndPeer.h"

// A dialog control's window over one Qt widget: buttons, radio buttons, group boxes, edits,
// labels and the preview frame.
class QtWnd : public WndPeer {
public:
    explicit QtWnd(QWidget *widget) : m_widget(widget) {}

    void SetWindowText(const std::string &text) override;
    std::string GetWindowText() const override;
    void SetCheck(bool checked) override;
    bool GetCheck() const override;
    void EnableWindow(bool enable) override;
    bool IsWindowEnabled() const override;
    void SetFocus() override;
    bool HasFocus() const override;
    void Invalidate(bool erase) override;
    void UpdateWindow() override;
    UiRect GetClientRect() const override;
    CSurface *Surface() override;
    void SurfaceDrawn() override;

private:
    QPointer<QWidget> m_widget;
};
