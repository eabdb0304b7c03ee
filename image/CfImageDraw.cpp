// Drawing an image into a device context: straight to the device at its own size, resampled
// into an off-screen bitmap when scaled, or blended over the device's content when the image
// has transparency. Only the visible part is ever computed or allocated.
#include "image/CfImage.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <optional>
#include <vector>

#include "platform/gdi/Gdi.h"

namespace {

// The part of the destination inside the clip box, in device units.
struct Visible {
    int32_t xmin, ymin, xmax, ymax;
    int32_t Width() const { return xmax - xmin; }
    int32_t Height() const { return ymax - ymin; }
};

Visible VisiblePart(const RECT &box, int64_t x, int64_t y, int64_t width, int64_t height) {
    Visible v;
    v.xmin = static_cast<int32_t>(std::min<int64_t>(box.right, std::max<int64_t>(box.left, x)));
    v.xmax =
        static_cast<int32_t>(std::max<int64_t>(box.left, std::min<int64_t>(box.right, x + width)));
    v.ymin = static_cast<int32_t>(std::min<int64_t>(box.bottom, std::max<int64_t>(box.top, y)));
    v.ymax =
        static_cast<int32_t>(std::max<int64_t>(box.top, std::min<int64_t>(box.bottom, y + height)));
    return v;
}

// Narrows dc's clip region by a rectangle (RGN_AND) or widens it (RGN_OR).
void CombineClip(HDC dc, const RECT &rect, int mode) {
    HRGN region = CreateRectRgnIndirect(&rect);
    ExtSelectClipRgn(dc, region, mode);
    DeleteObject(region);
}

// A 24-bit bottom-up DIB section of the visible part, selected into a memory context. When
// it cannot be made, Bits() is null and Show() draws nothing.
class OffScreen {
public:
    OffScreen(HDC dc, const Visible &v) : m_dc(dc), m_visible(v) {
        m_header.biSize = sizeof(BITMAPINFOHEADER);
        m_header.biWidth = v.Width();
        m_header.biHeight = v.Height();
        m_header.biPlanes = 1;
        m_header.biBitCount = 24;
        m_memory = CreateCompatibleDC(dc);
        void *bits = nullptr;
        m_section = CreateDIBSection(dc, Info(), DIB_RGB_COLORS, &bits);
        if (m_section && m_memory) {
            m_previous = SelectObject(m_memory, m_section);
            m_bits = static_cast<uint8_t *>(bits);
        }
        m_stride = (static_cast<size_t>(std::max(v.Width(), 0)) * 24 + 31) / 32 * 4;
    }
    ~OffScreen() {
        if (m_previous) {
            SelectObject(m_memory, m_previous);
        }
        if (m_section) {
            DeleteObject(m_section);
        }
        if (m_memory) {
            DeleteDC(m_memory);
        }
    }
    OffScreen(const OffScreen &) = delete;
    OffScreen &operator=(const OffScreen &) = delete;

    HDC Memory() const { return m_memory; }
    uint8_t *Bits() const { return m_bits; }
    // Section row r counts from the bottom: it shows device row ymax - 1 - r.
    uint8_t *Pixel(int32_t column, int32_t row) const {
        return m_bits + static_cast<size_t>(row) * m_stride + static_cast<size_t>(column) * 3;
    }
    void Show() const {
        SetDIBitsToDevice(m_dc, m_visible.xmin, m_visible.ymin, m_visible.Width(),
                          m_visible.Height(), 0, 0, 0, m_visible.Height(), m_bits, Info(),
                          DIB_RGB_COLORS);
    }

private:
    const BITMAPINFO *Info() const { return reinterpret_cast<const BITMAPINFO *>(&m_header); }

    HDC m_dc;
    Visible m_visible;
    BITMAPINFOHEADER m_header{};
    HDC m_memory = nullptr;
    HBITMAP m_section = nullptr;
    HBITMAP m_previous = nullptr;
    uint8_t *m_bits = nullptr;
    size_t m_stride = 0;
};

// Where each section pixel of a scaled drawing takes its source from: factors held as
// single-precision floats, positions floored and kept inside the image (rounding of large
// values must never reach past the last row or column).
class ScaledMapping {
public:
    ScaledMapping(int32_t imageWidth, int32_t imageHeight, int64_t x, int64_t y, int64_t width,
                  int64_t height, const Visible &v)
        : m_imageHeight(imageHeight), m_y(y), m_ymax(v.ymax),
          m_fx(static_cast<float>(imageWidth) / static_cast<float>(width)),
          m_fy(static_cast<float>(imageHeight) / static_cast<float>(height)) {
        m_sx.resize(static_cast<size_t>(v.Width()));
        m_nx.resize(m_sx.size());
        for (size_t c = 0; c < m_sx.size(); ++c) {
            m_sx[c] = static_cast<float>(static_cast<int64_t>(c) + v.xmin - x) * m_fx;
            m_nx[c] = Floor(m_sx[c], imageWidth);
        }
    }

    float Fx() const { return m_fx; }
    float Fy() const { return m_fy; }
    float Sx(int32_t column) const { return m_sx[static_cast<size_t>(column)]; }
    int32_t Nx(int32_t column) const { return m_nx[static_cast<size_t>(column)]; }
    float Sy(int32_t row) const {
        const int64_t yy = int64_t{m_ymax} - row;
        return static_cast<float>(m_imageHeight) - static_cast<float>(yy - m_y) * m_fy;
    }
    int32_t Ny(int32_t row) const { return Floor(Sy(row), m_imageHeight); }

private:
    static int32_t Floor(float value, int32_t size) {
        if (!(value > 0)) {
            return 0;
        }
        return static_cast<int32_t>(std::min<double>(std::floor(value), size - 1));
    }

    int32_t m_imageHeight;
    int64_t m_y;
    int32_t m_ymax;
    float m_fx;
    float m_fy;
    std::vector<float> m_sx;
    std::vector<int32_t> m_nx;
};

// One call's destination: the rectangle asked for (sizes already resolved) and its visible
// part.
struct DrawTarget {
    HDC dc;
    int32_t x, y, width, height;
    Visible visible;
    bool smooth;
    bool flip;
};

const BITMAPINFO *BlockInfo(const CfImage &image) {
    return reinterpret_cast<const BITMAPINFO *>(image.block);
}

// At its own size an opaque image goes to the device as it is; the device clips.
void DrawDirect(const CfImage &image, const DrawTarget &t) {
    SetStretchBltMode(t.dc, COLORONCOLOR);
    if (!t.flip) {
        SetDIBitsToDevice(t.dc, t.x, t.y, static_cast<uint32_t>(t.width),
                          static_cast<uint32_t>(t.height), 0, 0, 0, static_cast<uint32_t>(t.height),
                          image.info.pixels, BlockInfo(image), DIB_RGB_COLORS);
        return;
    }
    const int64_t bottom = int64_t{t.y} + t.height - 1;
    if (bottom > std::numeric_limits<int32_t>::max()) {
        return; // wholly below any device
    }
    StretchDIBits(t.dc, t.x, static_cast<int32_t>(bottom), t.width, -t.height, 0, 0, t.width,
                  t.height, image.info.pixels, BlockInfo(image), DIB_RGB_COLORS, SRCCOPY);
}

// The smooth colour of a scaled pixel: area average when reducing both ways, else bilinear.
RGBQUAD SmoothSample(const CfImage &image, const ScaledMapping &map, int32_t column, float sy) {
    const float px = map.Sx(column) - 0.5f;
    const float py = sy - 0.5f;
    if (map.Fx() > 1 && map.Fy() > 1) {
        return image.SampleAreaAverage(px, py, map.Fx(), map.Fy());
    }
    return image.SampleInterpolated(px, py);
}

void DrawResampled(const CfImage &image, const DrawTarget &t) {
    const Visible &v = t.visible;
    OffScreen off(t.dc, v);
    if (off.Bits()) {
        const ScaledMapping map(static_cast<int32_t>(image.GetWidth()),
                                static_cast<int32_t>(image.GetHeight()), t.x, t.y, t.width,
                                t.height, v);
        for (int32_t r = 0; r < v.Height(); ++r) {
            uint8_t *out = off.Pixel(0, t.flip ? v.Height() - 1 - r : r);
            const float sy = map.Sy(r);
            const int32_t ny = map.Ny(r);
            const uint8_t *sourceRow = image.info.pixels + size_t(ny) * image.info.rowStride;
            for (int32_t c = 0; c < v.Width(); ++c, out += 3) {
                if (t.smooth) {
                    const RGBQUAD colour = SmoothSample(image, map, c, sy);
                    out[0] = colour.rgbBlue;
                    out[1] = colour.rgbGreen;
                    out[2] = colour.rgbRed;
                } else if (image.HasPalette()) {
                    const RGBQUAD colour =
                        image.PaletteEntry(image.PixelIndexAtUnguarded(map.Nx(c), ny));
                    out[0] = colour.rgbBlue;
                    out[1] = colour.rgbGreen;
                    out[2] = colour.rgbRed;
                } else {
                    const uint8_t *p = sourceRow + size_t(map.Nx(c)) * 3;
                    out[0] = p[0];
                    out[1] = p[1];
                    out[2] = p[2];
                }
            }
        }
    }
    off.Show();
}

// Composes one source pixel over the section pixel `out` (blue, green, red).
void Compose(uint8_t *out, const RGBQUAD &colour, int32_t a) {
    if (a == 255) {
        out[0] = colour.rgbBlue;
        out[1] = colour.rgbGreen;
        out[2] = colour.rgbRed;
        return;
    }
    out[0] = static_cast<uint8_t>((out[0] * (255 - a) + colour.rgbBlue * a) >> 8);
    out[1] = static_cast<uint8_t>((out[1] * (255 - a) + colour.rgbGreen * a) >> 8);
    out[2] = static_cast<uint8_t>((out[2] * (255 - a) + colour.rgbRed * a) >> 8);
}

void DrawBlended(const CfImage &image, const DrawTarget &t) {
    const Visible &v = t.visible;
    const int32_t w = static_cast<int32_t>(image.GetWidth());
    const int32_t h = static_cast<int32_t>(image.GetHeight());
    const bool transparent = image.info.transparentIndex >= 0;
    const RGBQUAD key = image.GetTransparentColor();
    const int32_t keyIndex = image.GetTransparentIndex();
    const int32_t alphaScale = image.info.alphaMax + 1;

    OffScreen off(t.dc, v);
    if (off.Bits()) {
        BitBlt(off.Memory(), 0, 0, v.Width(), v.Height(), t.dc, v.xmin, v.ymin, SRCCOPY);
        const bool unscaled = t.width == w && t.height == h;
        std::optional<ScaledMapping> map;
        if (!unscaled) {
            map.emplace(w, h, t.x, t.y, t.width, t.height, v);
        }
        const bool sampled = map && t.smooth;
        for (int32_t r = 0; r < v.Height(); ++r) {
            uint8_t *out = off.Pixel(0, t.flip ? v.Height() - 1 - r : r);
            const int32_t ny =
                unscaled ? static_cast<int32_t>(int64_t{h} - v.ymax + t.y + r) : map->Ny(r);
            const float sy = map ? map->Sy(r) : 0.0f;
            for (int32_t c = 0; c < v.Width(); ++c, out += 3) {
                const int32_t nx =
                    unscaled ? static_cast<int32_t>(int64_t{c} + v.xmin - t.x) : map->Nx(c);
                int32_t a = image.alpha ? image.AlphaAtUnguarded(nx, ny) : 255;
                a = (a * alphaScale) >> 8;
                RGBQUAD colour;
                bool keyed = false;
                if (image.HasPalette()) {
                    const uint8_t index = image.PixelIndexAtUnguarded(nx, ny);
                    colour = sampled ? SmoothSample(image, *map, c, sy) : image.PaletteEntry(index);
                    if (image.info.paletteAlpha) {
                        a = ((colour.rgbReserved + 1) * a) >> 8;
                    }
                    keyed = transparent && index == keyIndex;
                } else {
                    if (sampled) {
                        colour = SmoothSample(image, *map, c, sy);
                    } else {
                        const uint8_t *p =
                            image.info.pixels + size_t(ny) * image.info.rowStride + size_t(nx) * 3;
                        colour = RGBQUAD{p[0], p[1], p[2], 0};
                    }
                    keyed = transparent && colour == key;
                }
                if (keyed || a == 0) {
                    continue;
                }
                Compose(out, colour, a);
            }
        }
    }
    off.Show();
}

} // namespace

int32_t CfImage::Draw(HDC dc, const RECT &rect, const RECT *clip, bool smooth, bool flip) {
    auto extent = [](int32_t from, int32_t to) {
        const int64_t e = int64_t{to} - from;
        return static_cast<int32_t>(std::clamp<int64_t>(e, std::numeric_limits<int32_t>::min(),
                                                        std::numeric_limits<int32_t>::max()));
    };
    return Draw(dc, rect.left, rect.top, extent(rect.left, rect.right),
                extent(rect.top, rect.bottom), clip, smooth, flip);
}

int32_t CfImage::Draw(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height, const RECT *clip,
                      bool smooth, bool flip) {
    if (!block || !dc || width == 0 || height == 0 || !info.drawEnabled) {
        return 0;
    }
    const int32_t imageWidth = static_cast<int32_t>(GetWidth());
    const int32_t imageHeight = static_cast<int32_t>(GetHeight());
    if (width < 0) {
        width = imageWidth;
    }
    if (height < 0) {
        height = imageHeight;
    }
    const bool transparent = info.transparentIndex >= 0;
    const bool hasAlpha = alpha != nullptr;

    const int level = SaveDC(dc);
    if (level == 0) {
        return 0;
    }
    RECT previousBox{};
    if (clip) {
        GetClipBox(dc, &previousBox);
        CombineClip(dc, *clip, RGN_AND);
    }
    RECT box{};
    GetClipBox(dc, &box);
    const Visible visible = VisiblePart(box, x, y, width, height);

    const DrawTarget target{dc, x, y, width, height, visible, smooth, flip};
    try {
        if (transparent || hasAlpha || info.paletteAlpha) {
            DrawBlended(*this, target);
        } else if (width == imageWidth && height == imageHeight) {
            DrawDirect(*this, target);
        } else {
            DrawResampled(*this, target);
        }
    } catch (const std::bad_alloc &) {
        // Out of memory for the column table or the device's bookkeeping: nothing is drawn,
        // and the device state is restored below as always.
    }

    if (clip) {
        CombineClip(dc, previousBox, RGN_OR);
    }
    RestoreDC(dc, level);
    return 1;
}
