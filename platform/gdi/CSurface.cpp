#include "platform/gdi/CSurface.h"

#include <algorithm>
#include <new>

CSurface::CSurface(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 ||
        static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxPixels) {
        return;
    }
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    m_owned.reset(new (std::nothrow) uint8_t[bytes]);
    if (!m_owned) {
        return;
    }
    m_top = m_owned.get();
    m_width = width;
    m_height = height;
    m_pitch = static_cast<ptrdiff_t>(width) * 4;
    Erase();
}

CSurface::CSurface(uint8_t *top, int32_t width, int32_t height, ptrdiff_t pitch, int bytesPerPixel)
    : m_top(top), m_width(top ? std::max(width, 0) : 0), m_height(top ? std::max(height, 0) : 0),
      m_pitch(pitch), m_bytesPerPixel(bytesPerPixel == 3 ? 3 : 4) {}

uint32_t CSurface::PixelAt(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return 0;
    }
    const uint8_t *p = PixelAddress(x, y);
    return RgbColor(p[2], p[1], p[0]);
}

void CSurface::SetPixel(int32_t x, int32_t y, uint32_t color) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return;
    }
    StoreUnchecked(PixelAddress(x, y), color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

void CSurface::Fill(const RECT &rect, uint32_t color) {
    const int32_t left = std::max(rect.left, 0);
    const int32_t right = std::min(rect.right, m_width);
    const int32_t top = std::max(rect.top, 0);
    const int32_t bottom = std::min(rect.bottom, m_height);
    for (int32_t y = top; y < bottom; ++y) {
        for (int32_t x = left; x < right; ++x) {
            StoreUnchecked(PixelAddress(x, y), color & 0xFF, (color >> 8) & 0xFF,
                           (color >> 16) & 0xFF);
        }
    }
}
