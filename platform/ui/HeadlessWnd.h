#pragma once

#include <memory>
#include <string>

#include "platform/gdi/CSurface.h"
#include "platform/ui/WndPeer.h"

class HeadlessToolkit;

// A control without a screen: it keeps its text, check and enable state and records focus,
// invalidation and updates in the toolkit's event log. Drawn on, it keeps its pixels in a
// client-sized surface made on first use and made anew when the client size changed.
class HeadlessWnd : public WndPeer {
public:
    HeadlessWnd(HeadlessToolkit &log, int id, const std::string &text, UiRect clientRect,
                bool enabled);

    void SetWindowText(const std::string &text) override { m_text = text; }
    std::string GetWindowText() const override { return m_text; }
    void SetCheck(bool checked) override { m_checked = checked; }
    bool GetCheck() const override { return m_checked; }
    void EnableWindow(bool enable) override { m_enabled = enable; }
    bool IsWindowEnabled() const override { return m_enabled; }
    void SetFocus() override;
    bool HasFocus() const override;
    void Invalidate(bool erase) override;
    void UpdateWindow() override;
    UiRect GetClientRect() const override { return m_clientRect; }
    CSurface *Surface() override;
    // The window was given another size; its surface follows at the next Surface().
    void SetClientRect(const UiRect &clientRect) { m_clientRect = clientRect; }

    int Id() const { return m_id; }
    // Times the window was invalidated with erasing, and painted by UpdateWindow since.
    int ErasedCount() const { return m_erased; }
    int UpdatedCount() const { return m_updated; }

private:
    HeadlessToolkit &m_log;
    int m_id;
    std::string m_text;
    UiRect m_clientRect;
    bool m_enabled;
    bool m_checked = false;
    bool m_dirty = false;
    bool m_erasePending = false;
    std::unique_ptr<CSurface> m_surface;
    int m_erased = 0;
    int m_updated = 0;
};
