// The palette of bilevel, grey and palette pages.
#include <algorithm>
#include <optional>

#include <tiffio.h>

#include "image/SafeSize.h"
#include "image/codecs/CfImageTIFPage.h"
#include "image/codecs/DecodeFailure.h"

namespace tiffcodec {

namespace {

void SetGrey(RGBQUAD &entry, uint8_t grey) {
    entry.rgbBlue = grey;
    entry.rgbGreen = grey;
    entry.rgbRed = grey;
}

// ColorMap values are 16-bit by definition, but some writers store 8-bit values; those are
// recognised by every value of the used entries being below 256 and taken unscaled.
void CopyColorMap(TIFF *tif, RGBQUAD *palette, uint32_t count, bool forceWide) {
    uint16_t *reds = nullptr;
    uint16_t *greens = nullptr;
    uint16_t *blues = nullptr;
    if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &reds, &greens, &blues) || reds == nullptr ||
        greens == nullptr || blues == nullptr) {
        return;
    }
    bool wide = forceWide;
    for (uint32_t i = 0; i < count && !wide; ++i) {
        wide = reds[i] >= 256 || greens[i] >= 256 || blues[i] >= 256;
    }
    const auto channel = [wide](uint16_t c) {
        return static_cast<uint8_t>(wide ? uint32_t{c} * 255 / 65535 : c & 0xFF);
    };
    for (uint32_t i = 0; i < count; ++i) {
        palette[i].rgbRed = channel(reds[i]);
        palette[i].rgbGreen = channel(greens[i]);
        palette[i].rgbBlue = channel(blues[i]);
    }
}

} // namespace

HeapPtr<RGBQUAD> BuildPalette(TIFF *tif, const CfImageTIF::Page &page, uint32_t *entries) {
    const uint32_t bits = page.bitsPerSample;
    if (page.deepPalette && bits > 24) {
        raiseDecodeFailure("Too big palette to handle");
    }
    // At most 2^24 entries of 4 bytes: 64 MiB, a quarter of the bitmap ceiling.
    *entries = page.deepPalette ? (1u << bits) : 256u;
    const std::optional<size_t> bytes = SafeSize::mul(*entries, sizeof(RGBQUAD));
    HeapPtr<RGBQUAD> palette;
    if (bytes && *bytes <= CFIMAGE_MAX_MEMORY) {
        palette = AllocateZeroed<RGBQUAD>(*bytes);
    }
    if (!palette) {
        raiseDecodeFailure("Unable to allocate TIFF palette");
    }
    const uint32_t d = std::min(bits, 8u);
    const uint32_t shades = 1u << d;
    RGBQUAD *p = palette.get();
    const bool grey =
        page.photometric == kPhotometricMinIsBlack || page.photometric == kPhotometricMinIsWhite;
    if (grey && bits == 1) {
        SetGrey(p[page.photometric == kPhotometricMinIsBlack ? 1 : 0], 255);
    } else if (grey) {
        const uint32_t step = shades > 1 ? 255 / (shades - 1) : 0;
        for (uint32_t i = 0; i < shades; ++i) {
            const auto value = static_cast<uint8_t>(i * step);
            SetGrey(p[i], page.photometric == kPhotometricMinIsBlack ? value : 255 - value);
        }
    } else if (page.photometric == kPhotometricPalette) {
        CopyColorMap(tif, p, page.deepPalette ? *entries : shades, page.deepPalette);
    }
    return palette;
}

} // namespace tiffcodec
