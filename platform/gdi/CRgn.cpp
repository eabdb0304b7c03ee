#include "platform/gdi/CRgn.h"

#include <algorithm>

CRgn::CRgn(const RECT &rect) {
    if (!IsRectEmpty(rect)) {
        m_rects.push_back(rect);
    }
}

RECT CRgn::Box() const {
    if (m_rects.empty()) {
        return RECT{0, 0, 0, 0};
    }
    RECT box = m_rects.front();
    for (const RECT &r : m_rects) {
        box.left = std::min(box.left, r.left);
        box.top = std::min(box.top, r.top);
        box.right = std::max(box.right, r.right);
        box.bottom = std::max(box.bottom, r.bottom);
    }
    return box;
}

int CRgn::Kind() const {
    if (m_rects.empty()) {
        return NULLREGION;
    }
    return SameArea(CRgn(Box())) ? SIMPLEREGION : COMPLEXREGION;
}

bool CRgn::Contains(int32_t x, int32_t y) const {
    return std::any_of(m_rects.begin(), m_rects.end(), [&](const RECT &r) {
        return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
    });
}

// Cuts the plane along every edge of both regions; each cell is then wholly inside or wholly
// outside each region, so testing one corner per cell compares the areas.
bool CRgn::SameArea(const CRgn &other) const {
    std::vector<int32_t> xs;
    std::vector<int32_t> ys;
    for (const auto *rects : {&m_rects, &other.m_rects}) {
        for (const RECT &r : *rects) {
            xs.insert(xs.end(), {r.left, r.right});
            ys.insert(ys.end(), {r.top, r.bottom});
        }
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
        for (size_t j = 0; j + 1 < ys.size(); ++j) {
            if (Contains(xs[i], ys[j]) != other.Contains(xs[i], ys[j])) {
                return false;
            }
        }
    }
    return true;
}

void CRgn::IntersectWith(const CRgn &other) {
    std::vector<RECT> result;
    for (const RECT &a : m_rects) {
        for (const RECT &b : other.m_rects) {
            const RECT r{std::max(a.left, b.left), std::max(a.top, b.top),
                         std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
            if (!IsRectEmpty(r)) {
                result.push_back(r);
            }
        }
    }
    m_rects = std::move(result);
}

void CRgn::UniteWith(const CRgn &other) {
    auto inside = [](const RECT &inner, const RECT &outer) {
        return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
               outer.bottom >= inner.bottom;
    };
    for (const RECT &r : other.m_rects) {
        if (std::any_of(m_rects.begin(), m_rects.end(),
                        [&](const RECT &mine) { return inside(r, mine); })) {
            continue;
        }
        std::erase_if(m_rects, [&](const RECT &mine) { return inside(mine, r); });
        m_rects.push_back(r);
    }
}
