#include "platform/ui/CImageList.h"

bool CImageList::Create(int cx, int cy, unsigned /*flags*/, int initial, int /*grow*/) {
    if (cx <= 0 || cy <= 0 || initial < 0) {
        return false;
    }
    m_created = true;
    m_cx = cx;
    m_cy = cy;
    m_icons.clear();
    return true;
}

int CImageList::Add(int iconResource) {
    if (!m_created || iconResource == 0) {
        return -1;
    }
    m_icons.push_back(iconResource);
    return static_cast<int>(m_icons.size()) - 1;
}
