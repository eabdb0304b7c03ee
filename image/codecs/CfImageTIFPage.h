// Internals shared by the source files of CfImageTIF: the page being decoded and the owning
// buffer the decoder allocates with the C heap. Failures are raised with RaiseDecodeFailure.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "image/codecs/CfImageTIF.h"

// The tag values of the page being decoded, with the decoder's defaults for absent tags.
struct CfImageTIF::Page {
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t samplesPerPixel = 1;
    uint16_t bitsPerSample = 1;
    uint32_t rowsPerStrip = 0xFFFFFFFF;
    uint16_t photometric = 0;
    uint16_t orientation = 1;
    uint16_t planar = 1;    // PlanarConfiguration: 1 contiguous, 2 separate planes
    uint32_t tileWidth = 0; // 0 for a page in strips
    uint32_t tileLength = 0;
    uint32_t depth = 8;       // bits per pixel of the bitmap
    bool deepPalette = false; // palette image with more than 8 bits per sample
};

namespace tiffcodec {

struct FreeDeleter {
    void operator()(void *p) const { std::free(p); }
};
template <typename T> using HeapPtr = std::unique_ptr<T[], FreeDeleter>;

// Zero-filled heap block of `bytes` bytes, or null when the allocation fails.
template <typename T> HeapPtr<T> AllocateZeroed(size_t bytes) {
    return HeapPtr<T>(static_cast<T *>(std::calloc(bytes == 0 ? 1 : bytes, 1)));
}

constexpr uint16_t kPhotometricMinIsWhite = 0;
constexpr uint16_t kPhotometricMinIsBlack = 1;
constexpr uint16_t kPhotometricPalette = 3;

bool IsRgbFamily(uint16_t photometric);

// The tags of the current directory, with the defaults above for absent ones; an Orientation
// outside 1..8 reads as 1 (upright). The one reading of a page's tags: the full decoder and the
// reduced one, and every reader of rows below them, take the page from here.
CfImageTIF::Page ReadPageTags(TIFF *tif);

// A page with no usable RowsPerStrip (none, 0 or more than its height) is one strip; libtiff
// is told too, so that it computes strips the way the decoders read them.
void SettleRowsPerStrip(TIFF *tif, CfImageTIF::Page &page);

// Palette entries for a bilevel, grey or palette page (2^bits entries for a deep palette, 256
// otherwise). Raises "Too big palette to handle" beyond 24 bits.
HeapPtr<RGBQUAD> BuildPalette(TIFF *tif, const CfImageTIF::Page &page, uint32_t *entries);

// Converts one 8-bit CIELab pixel (L 0..255, a and b signed) to an sRGB colour.
RGBQUAD LabToRgb(uint8_t lightness, int8_t a, int8_t b);

// A colour channel of libtiff's RGBA raster, premultiplied by alpha a, as a straight colour.
inline uint8_t StraightChannel(uint32_t c, uint8_t a) {
    if (a == 255) {
        return static_cast<uint8_t>(c);
    }
    return a == 0 ? uint8_t{0} : static_cast<uint8_t>(std::min(255u, (c * 255 + a / 2) / a));
}

} // namespace tiffcodec
