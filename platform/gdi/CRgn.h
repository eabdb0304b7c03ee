// CRgn: a region made of rectangles, as clip regions are. Rectangles may overlap after a
// union; every query treats the region as the set of pixels they cover.
#pragma once

#include <vector>

#include "platform/gdi/GdiTypes.h"

class CRgn {
public:
    CRgn() = default;
    explicit CRgn(const RECT &rect);

    bool IsEmpty() const { return m_rects.empty(); }
    const std::vector<RECT> &Rects() const { return m_rects; }
    // Smallest rectangle holding the region; all zero when empty.
    RECT Box() const;
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Kind() const;
    bool Contains(int32_t x, int32_t y) const;
    // Same set of pixels, however the rectangles are cut.
    bool SameArea(const CRgn &other) const;

    void IntersectWith(const CRgn &other);
    void UniteWith(const CRgn &other);

private:
    std::vector<RECT> m_rects; // none empty
};
