// Pixel transfers onto a device context. Each walks only the destination pixels inside the
// drawable clip region, so the cost follows what is visible, not the size asked for.
#include "platform/gdi/Gdi.h"

#include <algorithm>
#include <cstdlib>

#include "platform/gdi/DibSource.h"

namespace {

// Half-open span [begin, end) of device coordinates, in 64 bits so no sum can wrap.
struct Span {
    int64_t begin;
    int64_t end;
};

// The coordinates covered by `extent` pixels starting at `start`: to the right/down for a
// positive extent, to the left/up (start included) for a negative one.
Span Covered(int64_t start, int64_t extent) {
    return extent >= 0 ? Span{start, start + extent} : Span{start + extent + 1, start + 1};
}

// Calls paint(x0, x1, y) for every run of drawable pixels of row y inside the spans.
template <class Paint> void ForEachVisibleRun(const CDC &dc, Span xs, Span ys, Paint paint) {
    const CRgn visible = dc.DrawableRegion();
    for (const RECT &r : visible.Rects()) {
        const int64_t x0 = std::max<int64_t>(xs.begin, r.left);
        const int64_t x1 = std::min<int64_t>(xs.end, r.right);
        const int64_t y0 = std::max<int64_t>(ys.begin, r.top);
        const int64_t y1 = std::min<int64_t>(ys.end, r.bottom);
        for (int64_t y = y0; y < y1; ++y) {
            if (x0 < x1) {
                paint(static_cast<int32_t>(x0), static_cast<int32_t>(x1), static_cast<int32_t>(y));
            }
        }
    }
}

} // namespace

int SetDIBitsToDevice(HDC dc, int32_t xDest, int32_t yDest, uint32_t width, uint32_t height,
                      int32_t xSrc, int32_t ySrc, uint32_t startScan, uint32_t lines,
                      const void *bits, const BITMAPINFO *info, uint32_t usage) {
    if (!dc) {
        return 0;
    }
    dc->Log().Add("SetDIBitsToDevice", {xDest, yDest, width, height, xSrc, ySrc, startScan, lines});
    const DibSource source(info, bits, startScan, lines);
    CSurface *surface = dc->Surface();
    if (!source.IsValid() || usage != DIB_RGB_COLORS || !surface) {
        return 0;
    }
    const Span xs = Covered(xDest, width);
    const Span ys = Covered(yDest, height);
    ForEachVisibleRun(*dc, xs, ys, [&](int32_t x0, int32_t x1, int32_t y) {
        const int64_t row = int64_t{ySrc} + height - 1 - (y - int64_t{yDest});
        if (!source.HasRow(row)) {
            return;
        }
        for (int32_t x = x0; x < x1; ++x) {
            const int64_t column = int64_t{xSrc} + (x - int64_t{xDest});
            if (column < 0 || column >= source.Width()) {
                continue;
            }
            uint8_t bgr[3];
            source.Read(static_cast<int32_t>(column), row, bgr);
            surface->StoreUnchecked(surface->PixelAddress(x, y), bgr[0], bgr[1], bgr[2]);
        }
    });
    return static_cast<int>(lines);
}

int StretchDIBits(HDC dc, int32_t xDest, int32_t yDest, int32_t destWidth, int32_t destHeight,
                  int32_t xSrc, int32_t ySrc, int32_t srcWidth, int32_t srcHeight, const void *bits,
                  const BITMAPINFO *info, uint32_t usage, uint32_t rop) {
    if (!dc) {
        return 0;
    }
    dc->Log().Add("StretchDIBits",
                  {xDest, yDest, destWidth, destHeight, xSrc, ySrc, srcWidth, srcHeight});
    const DibSource source(info, bits, 0,
                           info ? static_cast<uint32_t>(std::max(info->bmiHeader.biHeight, 0)) : 0);
    CSurface *surface = dc->Surface();
    if (!source.IsValid() || usage != DIB_RGB_COLORS || rop != SRCCOPY || !surface ||
        destWidth == 0 || destHeight == 0 || srcWidth == 0 || srcHeight == 0) {
        return 0;
    }
    const int64_t dw = std::llabs(destWidth);
    const int64_t dh = std::llabs(destHeight);
    const int64_t sw = std::llabs(srcWidth);
    const int64_t sh = std::llabs(srcHeight);
    // A negative source extent runs the source rectangle from its other end, which
    // mirrors or flips just as a negative destination extent does.
    auto sourceRow = [&](int64_t k) {
        return srcHeight > 0 ? int64_t{ySrc} + sh - 1 - k : int64_t{ySrc} - sh + 1 + k;
    };
    auto sourceColumn = [&](int64_t k) {
        return srcWidth > 0 ? int64_t{xSrc} + k : int64_t{xSrc} - k;
    };
    const Span xs = Covered(xDest, destWidth);
    const Span ys = Covered(yDest, destHeight);
    ForEachVisibleRun(*dc, xs, ys, [&](int32_t x0, int32_t x1, int32_t y) {
        // i and j count destination pixels from where the picture starts (yDest, xDest).
        const int64_t i = destHeight > 0 ? y - int64_t{yDest} : int64_t{yDest} - y;
        const int64_t row = sourceRow(i * sh / dh);
        if (!source.HasRow(row)) {
            return;
        }
        for (int32_t x = x0; x < x1; ++x) {
            const int64_t j = destWidth > 0 ? x - int64_t{xDest} : int64_t{xDest} - x;
            const int64_t column = sourceColumn(j * sw / dw);
            if (column < 0 || column >= source.Width()) {
                continue;
            }
            uint8_t bgr[3];
            source.Read(static_cast<int32_t>(column), row, bgr);
            surface->StoreUnchecked(surface->PixelAddress(x, y), bgr[0], bgr[1], bgr[2]);
        }
    });
    return static_cast<int>(sh);
}

bool BitBlt(HDC dest, int32_t x, int32_t y, int32_t width, int32_t height, HDC source, int32_t xSrc,
            int32_t ySrc, uint32_t rop) {
    if (!dest || !source) {
        return false;
    }
    dest->Log().Add("BitBlt", {x, y, width, height, xSrc, ySrc});
    CSurface *to = dest->Surface();
    const CSurface *from = source->Surface();
    if (!to || !from || rop != SRCCOPY || width < 0 || height < 0) {
        return false;
    }
    ForEachVisibleRun(
        *dest, Covered(x, width), Covered(y, height), [&](int32_t x0, int32_t x1, int32_t row) {
            const int64_t sy = int64_t{ySrc} + (row - int64_t{y});
            if (sy < 0 || sy >= from->Height()) {
                return;
            }
            for (int32_t col = x0; col < x1; ++col) {
                const int64_t sx = int64_t{xSrc} + (col - int64_t{x});
                if (sx < 0 || sx >= from->Width()) {
                    continue;
                }
                const uint8_t *p =
                    from->PixelAddress(static_cast<int32_t>(sx), static_cast<int32_t>(sy));
                to->StoreUnchecked(to->PixelAddress(col, row), p[0], p[1], p[2]);
            }
        });
    return true;
}
