// CBitmap: a bitmap object that a memory device context draws into. A DIB section owns
// bottom-up 24- or 32-bit rows that the caller can also address directly.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/gdi/BitmapTypes.h"
#include "platform/gdi/CSurface.h"

class CBitmap {
public:
    // Largest section we allocate, in pixel bytes.
    static constexpr uint64_t kMaxBytes = uint64_t{1} << 30;

    // A section for header (width > 0, height > 0 bottom-up, 24 or 32 bits, no compression),
    // rows zeroed. Returns null for any other header or when the memory cannot be had.
    static std::unique_ptr<CBitmap> CreateSection(const BITMAPINFOHEADER &header);
    // The one-pixel bitmap a fresh memory device context holds.
    static std::unique_ptr<CBitmap> CreateStock();

    CBitmap(const CBitmap &) = delete;
    CBitmap &operator=(const CBitmap &) = delete;

    const BITMAPINFOHEADER &Header() const { return m_header; }
    // Row 0 is the bottom row, as in every bottom-up bitmap.
    uint8_t *Bits() const { return m_bits.get(); }
    uint32_t RowStride() const { return m_rowStride; }
    CSurface &Surface() { return *m_surface; }

    // The device context this bitmap is selected into, or null.
    CDC *SelectedInto() const { return m_selectedInto; }
    void SetSelectedInto(CDC *dc) { m_selectedInto = dc; }

private:
    CBitmap() = default;

    BITMAPINFOHEADER m_header{};
    std::unique_ptr<uint8_t[]> m_bits;
    uint32_t m_rowStride = 0;
    std::unique_ptr<CSurface> m_surface;
    CDC *m_selectedInto = nullptr;
};
