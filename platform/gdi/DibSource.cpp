#include "platform/gdi/DibSource.h"

#include <algorithm>

DibSource::DibSource(const BITMAPINFO *info, const void *bits, uint32_t startScan, uint32_t lines) {
    if (!info || !bits) {
        return;
    }
    const BITMAPINFOHEADER &h = info->bmiHeader;
    const int bitCount = h.biBitCount;
    if (h.biWidth <= 0 || h.biHeight <= 0 || h.biCompression != BI_RGB ||
        (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)) {
        return;
    }
    m_info = info;
    m_bits = static_cast<const uint8_t *>(bits);
    m_width = h.biWidth;
    m_height = h.biHeight;
    m_bitCount = bitCount;
    if (bitCount <= 8) {
        const uint32_t full = 1u << bitCount;
        m_colors = h.biClrUsed == 0 ? full : std::min(h.biClrUsed, full);
    }
    m_stride = (static_cast<size_t>(m_width) * bitCount + 31) / 32 * 4;
    m_firstRow = startScan;
    m_endRow = std::min<int64_t>(int64_t{startScan} + lines, m_height);
}

void DibSource::Read(int32_t x, int64_t row, uint8_t bgr[3]) const {
    const uint8_t *line = m_bits + static_cast<size_t>(row - m_firstRow) * m_stride;
    if (m_bitCount >= 24) {
        const uint8_t *p = line + static_cast<size_t>(x) * (m_bitCount / 8);
        bgr[0] = p[0];
        bgr[1] = p[1];
        bgr[2] = p[2];
        return;
    }
    uint32_t index = 0;
    switch (m_bitCount) {
    case 1:
        index = (line[x >> 3] >> (7 - (x & 7))) & 1;
        break;
    case 4:
        index = (x & 1) ? (line[x >> 1] & 0x0F) : (line[x >> 1] >> 4);
        break;
    default:
        index = line[x];
        break;
    }
    if (index >= m_colors) {
        bgr[0] = bgr[1] = bgr[2] = 0;
        return;
    }
    const auto *palette = reinterpret_cast<const RGBQUAD *>(
        reinterpret_cast<const uint8_t *>(m_info) + sizeof(BITMAPINFOHEADER));
    const RGBQUAD &c = palette[index];
    bgr[0] = c.rgbBlue;
    bgr[1] = c.rgbGreen;
    bgr[2] = c.rgbRed;
}
