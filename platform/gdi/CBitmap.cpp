#include "platform/gdi/CBitmap.h"

#include <new>

std::unique_ptr<CBitmap> CBitmap::CreateSection(const BITMAPINFOHEADER &header) {
    const int bytesPerPixel = header.biBitCount / 8;
    if (header.biWidth <= 0 || header.biHeight <= 0 || header.biPlanes != 1 ||
        (header.biBitCount != 24 && header.biBitCount != 32) || header.biCompression != BI_RGB) {
        return nullptr;
    }
    const uint64_t stride =
        (static_cast<uint64_t>(header.biWidth) * header.biBitCount + 31) / 32 * 4;
    const uint64_t bytes = stride * static_cast<uint64_t>(header.biHeight);
    if (bytes > kMaxBytes) {
        return nullptr;
    }
    std::unique_ptr<CBitmap> bitmap(new (std::nothrow) CBitmap());
    if (!bitmap) {
        return nullptr;
    }
    bitmap->m_bits.reset(new (std::nothrow) uint8_t[bytes]());
    if (!bitmap->m_bits) {
        return nullptr;
    }
    bitmap->m_header = header;
    bitmap->m_header.biSizeImage = static_cast<uint32_t>(bytes);
    bitmap->m_rowStride = static_cast<uint32_t>(stride);
    uint8_t *topRow = bitmap->m_bits.get() + (header.biHeight - 1) * stride;
    bitmap->m_surface.reset(new (std::nothrow) CSurface(
        topRow, header.biWidth, header.biHeight, -static_cast<ptrdiff_t>(stride), bytesPerPixel));
    if (!bitmap->m_surface) {
        return nullptr;
    }
    return bitmap;
}

std::unique_ptr<CBitmap> CBitmap::CreateStock() {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = 1;
    header.biHeight = 1;
    header.biPlanes = 1;
    header.biBitCount = 24;
    return CreateSection(header);
}
