#include "platform/ui/HeadlessWnd.h"

#include "platform/ui/HeadlessToolkit.h"

HeadlessWnd::HeadlessWnd(HeadlessToolkit &log, int id, const std::string &text, UiRect clientRect,
                         bool enabled)
    : m_log(log), m_id(id), m_text(text), m_clientRect(clientRect), m_enabled(enabled) {}

void HeadlessWnd::SetFocus() {
    m_log.SetFocusId(m_id);
    m_log.Record(UiEvent{UiEvent::Kind::Focus, m_id});
}

bool HeadlessWnd::HasFocus() const {
    return m_log.FocusId() == m_id;
}

void HeadlessWnd::Invalidate(bool erase) {
    m_dirty = true;
    if (erase) {
        ++m_erased;
        m_erasePending = true;
    }
    m_log.Record(UiEvent{UiEvent::Kind::Invalidate, m_id, erase ? "erase" : ""});
}

void HeadlessWnd::UpdateWindow() {
    if (m_dirty) {
        ++m_updated;
        m_dirty = false;
    }
    if (m_erasePending && m_surface) {
        m_surface->Erase();
    }
    m_erasePending = false;
    m_log.Record(UiEvent{UiEvent::Kind::UpdateWindow, m_id});
}

CSurface *HeadlessWnd::Surface() {
    if (!m_surface || m_surface->Width() != m_clientRect.Width() ||
        m_surface->Height() != m_clientRect.Height()) {
        m_surface = std::make_unique<CSurface>(m_clientRect.Width(), m_clientRect.Height());
    }
    return m_surface.get();
}
