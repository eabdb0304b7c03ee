#include "platform/gdi/CDC.h"

CDC::CDC(CSurface *window, std::shared_ptr<CallLog> log)
    : m_window(window), m_clip(window->Bounds()),
      m_log(log ? std::move(log) : std::make_shared<CallLog>()) {}

CDC::CDC(std::unique_ptr<CBitmap> stock, std::shared_ptr<CallLog> log)
    : m_stock(std::move(stock)), m_log(log ? std::move(log) : std::make_shared<CallLog>()) {
    if (m_stock) {
        Select(m_stock.get());
    }
}

CDC::~CDC() {
    if (m_selected) {
        m_selected->SetSelectedInto(nullptr);
    }
}

CSurface *CDC::Surface() const {
    if (m_window) {
        return m_window;
    }
    return m_selected ? &m_selected->Surface() : nullptr;
}

CRgn CDC::DrawableRegion() const {
    CSurface *surface = Surface();
    if (!surface) {
        return CRgn();
    }
    CRgn region = m_clip;
    region.IntersectWith(CRgn(surface->Bounds()));
    return region;
}

int CDC::Save() {
    m_saved.push_back(State{m_clip, m_stretchMode});
    return SaveLevel();
}

bool CDC::Restore(int level) {
    const int current = SaveLevel();
    const int target = level < 0 ? current + level + 1 : level;
    if (target < 1 || target > current) {
        return false;
    }
    m_clip = std::move(m_saved[target - 1].clip);
    m_stretchMode = m_saved[target - 1].stretchMode;
    m_saved.resize(target - 1);
    return true;
}

CBitmap *CDC::Select(CBitmap *bitmap) {
    CBitmap *previous = m_selected;
    if (previous) {
        previous->SetSelectedInto(nullptr);
    }
    m_selected = bitmap;
    bitmap->SetSelectedInto(this);
    m_clip = CRgn(bitmap->Surface().Bounds());
    return previous;
}
