// CSurface: a rectangle of pixels that device contexts draw on. Either it owns 32-bit pixels
// (blue, green, red, 255 in memory: the layout of a 0xFFRRGGBB word, rows top-down), as a
// window or control does, or it is a view of the 24-bit bottom-up rows of a DIB section.
//
// Coordinates are device units: x to the right, y down, (0, 0) the top-left pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/gdi/CallLog.h"
#include "platform/gdi/GdiTypes.h"

class CSurface {
public:
    // Largest surface we allocate, in pixels (a 16384 x 16384 window).
    static constexpr uint64_t kMaxPixels = uint64_t{1} << 28;

    // An owned 32-bit surface filled with the window colour. A size that is negative or
    // beyond kMaxPixels, or memory that cannot be had, gives an empty surface (0 x 0).
    CSurface(int32_t width, int32_t height);
    // A view of pixel rows owned elsewhere: top is the address of the top row, pitch the
    // signed distance from one row to the next one down, bytesPerPixel 3 or 4.
    CSurface(uint8_t *top, int32_t width, int32_t height, ptrdiff_t pitch, int bytesPerPixel);
    CSurface(const CSurface &) = delete;
    CSurface &operator=(const CSurface &) = delete;

    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    RECT Bounds() const { return RECT{0, 0, m_width, m_height}; }
    // Address of row y's first pixel and the row distance, for painting the surface.
    uint8_t *Row(int32_t y) const { return m_top + y * m_pitch; }
    ptrdiff_t Pitch() const { return m_pitch; }
    int BytesPerPixel() const { return m_bytesPerPixel; }

    // 0xRRGGBB of pixel (x, y); 0 outside.
    uint32_t PixelAt(int32_t x, int32_t y) const;
    // Sets one pixel; nothing outside.
    void SetPixel(int32_t x, int32_t y, uint32_t color);
    // Fills the part of rect that lies on the surface.
    void Fill(const RECT &rect, uint32_t color);
    // Fills the whole surface with the window colour, as erasing a frame does.
    void Erase() { Fill(Bounds(), kWindowColor); }

    // Unchecked access for the transfer loops: pixel (x, y) must be on the surface.
    uint8_t *PixelAddress(int32_t x, int32_t y) const {
        return m_top + y * m_pitch + static_cast<ptrdiff_t>(x) * m_bytesPerPixel;
    }
    void StoreUnchecked(uint8_t *at, uint8_t blue, uint8_t green, uint8_t red) const {
        at[0] = blue;
        at[1] = green;
        at[2] = red;
        if (m_bytesPerPixel == 4) {
            at[3] = 255;
        }
    }

    // Device contexts currently open on this surface (GetWindowDC without ReleaseDC).
    int OpenDCs() const { return m_openDCs; }
    void NoteDCOpened() { ++m_openDCs; }
    void NoteDCReleased() { --m_openDCs; }
    // Window device contexts opened on this surface record their calls here when a log is
    // attached (tests attach one to see how a picture was drawn).
    void AttachCallLog(std::shared_ptr<CallLog> log) { m_callLog = std::move(log); }
    const std::shared_ptr<CallLog> &AttachedCallLog() const { return m_callLog; }

private:
    std::unique_ptr<uint8_t[]> m_owned;
    uint8_t *m_top = nullptr;
    int32_t m_width = 0;
    int32_t m_height = 0;
    ptrdiff_t m_pitch = 0;
    int m_bytesPerPixel = 4;
    int m_openDCs = 0;
    std::shared_ptr<CallLog> m_callLog;
};
