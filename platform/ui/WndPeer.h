#pragma once

#include <string>

#include "platform/ui/UiDefs.h"

class CSurface;

// The window behind one control of a dialog. CWnd forwards to it; the headless implementation
// records what happened, the toolkit implementation drives a real widget.
class WndPeer {
public:
    virtual ~WndPeer() = default;

    virtual void SetWindowText(const std::string &text) = 0;
    virtual std::string GetWindowText() const = 0;
    virtual void SetCheck(bool checked) = 0;
    virtual bool GetCheck() const = 0;
    virtual void EnableWindow(bool enable) = 0;
    virtual bool IsWindowEnabled() const = 0;
    virtual void SetFocus() = 0;
    virtual bool HasFocus() const = 0;
    // Marks the whole window for repainting, with its background erased first when erase is set.
    virtual void Invalidate(bool erase) = 0;
    // Repaints at once whatever is marked for repainting.
    virtual void UpdateWindow() = 0;
    virtual UiRect GetClientRect() const = 0;
    // The pixels of a window that is drawn on through a window device context (the preview
    // frame): client-sized, kept across repaints, erased to the window colour by an update
    // after an erasing invalidation. Null for windows nobody draws on.
    virtual CSurface *Surface() { return nullptr; }
    // A window device context on Surface() was released: show what was drawn.
    virtual void SurfaceDrawn() {}
};
