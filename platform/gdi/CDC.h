// CDC: a device context. It draws on one surface at a time (a window's surface, or the
// bitmap selected into a memory context), clipped to its clip region and the surface's
// bounds, and keeps a stack of saved states (clip region and stretch mode). Every call made
// through the functions of Gdi.h is recorded in its call log, which memory contexts share
// with the context they were made compatible with.
//
// Contexts are created and destroyed through Gdi.h (GetWindowDC/ReleaseDC,
// CreateCompatibleDC/DeleteDC).
#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CRgn.h"
#include "platform/gdi/CSurface.h"
#include "platform/gdi/CallLog.h"

class CDC {
public:
    // A context on a window's (or control's) surface.
    CDC(CSurface *window, std::shared_ptr<CallLog> log);
    // A memory context holding its one-pixel stock bitmap.
    CDC(std::unique_ptr<CBitmap> stock, std::shared_ptr<CallLog> log);
    ~CDC();
    CDC(const CDC &) = delete;
    CDC &operator=(const CDC &) = delete;

    // The surface drawn on; null only for a memory context whose stock bitmap is missing.
    CSurface *Surface() const;
    // The window surface of a window context, null for a memory context.
    CSurface *Window() const { return m_window; }
    bool IsMemory() const { return m_window == nullptr; }

    const CRgn &ClipRegion() const { return m_clip; }
    void SetClipRegion(CRgn region) { m_clip = std::move(region); }
    // The clip region limited to the surface: where drawing lands.
    CRgn DrawableRegion() const;

    int StretchMode() const { return m_stretchMode; }
    void SetStretchMode(int mode) { m_stretchMode = mode; }

    // Pushes the state; returns the new save level (1 for the first).
    int Save();
    // Restores the state saved at level (negative: relative to the current level). False
    // when there is no such level.
    bool Restore(int level);
    int SaveLevel() const { return static_cast<int>(m_saved.size()); }

    // Memory contexts: selects bitmap (which must not be selected elsewhere) and returns the
    // previous one; the clip region becomes the new bitmap's area.
    CBitmap *Select(CBitmap *bitmap);
    CBitmap *Selected() const { return m_selected; }

    CallLog &Log() { return *m_log; }
    const std::shared_ptr<CallLog> &SharedLog() const { return m_log; }

private:
    struct State {
        CRgn clip;
        int stretchMode;
    };

    CSurface *m_window = nullptr;
    std::unique_ptr<CBitmap> m_stock;
    CBitmap *m_selected = nullptr;
    CRgn m_clip;
    int m_stretchMode = BLACKONWHITE;
    std::vector<State> m_saved;
    std::shared_ptr<CallLog> m_log;
};
