#pragma once

#include <string>

#include "platform/gdi/GdiTypes.h"
#include "platform/ui/UiDefs.h"

class WndPeer;

// A control of a dialog as the dialog code sees it. It forwards to the window it is attached to;
// while detached every operation does nothing and every query answers empty.
class CWnd {
public:
    CWnd() = default;
    explicit CWnd(WndPeer *peer) : m_peer(peer) {}
    virtual ~CWnd() = default;
    CWnd(const CWnd &) = delete;
    CWnd &operator=(const CWnd &) = delete;

    void Attach(WndPeer *peer) { m_peer = peer; }
    virtual void Detach() { m_peer = nullptr; }
    bool IsAttached() const { return m_peer != nullptr; }

    void SetWindowText(const std::string &text);
    std::string GetWindowText() const;
    void SetCheck(bool checked);
    bool GetCheck() const;
    void EnableWindow(bool enable);
    bool IsWindowEnabled() const;
    void SetFocus();
    void Invalidate(bool erase = true);
    void UpdateWindow();
    UiRect GetClientRect() const;
    // A device context on the whole window, or null when it has no surface; give it back
    // with ReleaseDC, which also shows what was drawn.
    HDC GetWindowDC();
    int ReleaseDC(HDC dc);

protected:
    WndPeer *m_peer = nullptr;
};
