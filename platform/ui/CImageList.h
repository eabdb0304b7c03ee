#pragma once

#include <vector>

// A list of same-sized small icons, named by icon resource id.
class CImageList {
public:
    bool Create(int cx, int cy, unsigned flags, int initial, int grow);
    // Appends an icon; an icon resource of 0 (none loaded) adds nothing and answers -1.
    int Add(int iconResource);

    int GetImageCount() const { return static_cast<int>(m_icons.size()); }
    int IconSize() const { return m_cx; }
    const std::vector<int> &Icons() const { return m_icons; }

private:
    bool m_created = false;
    int m_cx = 0;
    int m_cy = 0;
    std::vector<int> m_icons;
};
