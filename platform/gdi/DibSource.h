// DibSource: reads the pixels of a packed bottom-up DIB handed to a transfer call: 1, 4 or 8
// bits through the palette that follows the header, 24 or 32 bits blue, green, red.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/gdi/BitmapTypes.h"

class DibSource {
public:
    // bits hold the lines DIB rows startScan to startScan + lines - 1.
    DibSource(const BITMAPINFO *info, const void *bits, uint32_t startScan, uint32_t lines);

    // False for a header we do not draw (top-down, compressed, odd bit count, no bits).
    bool IsValid() const { return m_bits != nullptr; }
    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    // True when DIB row `row` (0 = bottom) is among the lines handed over.
    bool HasRow(int64_t row) const { return row >= m_firstRow && row < m_endRow; }
    // Blue, green, red of pixel (x, row); both must be inside (HasRow, 0 <= x < Width).
    void Read(int32_t x, int64_t row, uint8_t bgr[3]) const;

private:
    const BITMAPINFO *m_info = nullptr;
    const uint8_t *m_bits = nullptr;
    int32_t m_width = 0;
    int32_t m_height = 0;
    int m_bitCount = 0;
    uint32_t m_colors = 0;
    size_t m_stride = 0;
    int64_t m_firstRow = 0;
    int64_t m_endRow = 0;
};
