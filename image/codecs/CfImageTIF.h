// TIFF decoder: one page of a TIFF file, read through libtiff, into a CfImage.
//
// Colour images (RGB, CMYK, YCbCr, LogL, LogLuv) go through libtiff's RGBA reader. Bilevel,
// grey, palette, grey-with-alpha and CIELab images are read strip by strip (or tile by tile)
// and converted here, with 16-bit grey normalised to the image's significant bits, palettes
// deeper than 8 bits expanded to 24-bit pixels and the Orientation tag applied.
//
// The decoder never throws to its caller: Decode returns false with the reason in
// ImageInfo::lastError. libtiff's own messages are dropped.
//
// The PDF engine reads TIFF files with libtiff too (pdfw/tiff), apart on purpose: it passes
// strips through where it can and raises typed problems, where this decoder makes a bitmap and
// never throws (docs/ARCHITECTURE.md, "Two readings of the same files").
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/CfImage.h"

typedef struct tiff TIFF;
class CfStream;

class CfImageTIF : public CfImage {
public:
    CfImageTIF();
    ~CfImageTIF() override;
    CfImageTIF(const CfImageTIF &) = delete;
    CfImageTIF &operator=(const CfImageTIF &) = delete;

    // Decodes page ImageInfo::frame (from 0) of the TIFF starting at stream position 0.
    // ImageInfo::frameCount is set whenever the file could be opened, also on failure.
    bool Decode(CfStream *stream);

    // Widens count samples of `bits` bits each (most significant bit first) to one byte each:
    // up to 8 bits the value itself, wider samples their top 8 bits. dst holds count bytes; src
    // holds (count * bits + 7) / 8 bytes and is never read past that.
    static void ExpandSamples(uint8_t *dst, const uint8_t *src, uint32_t count, uint32_t bits);

    // Looks up count palette indices of `bits` bits (9 to 24) and writes blue, green, red for
    // each to dst. palette holds 2^bits entries; src holds (count * bits + 7) / 8 bytes.
    static void ExpandPaletteSamples(uint8_t *dst, const uint8_t *src, uint32_t count,
                                     uint32_t bits, const RGBQUAD *palette);

    // Copies `rows` rows of `bytes` bytes; after each row the destination moves on by
    // bytes + dstSkip and the source by bytes + srcSkip.
    static void CopyTileRows(uint8_t *dst, const uint8_t *src, uint32_t rows, size_t bytes,
                             size_t dstSkip, size_t srcSkip);

    // The tag values of the page being decoded (defined in CfImageTIFPage.h).
    struct Page;

private:
    bool DecodePage(CfStream *stream);
    void ReadPage(TIFF *tif);
    void ReadResolution(TIFF *tif);
    void ReadRgbaPage(TIFF *tif, const Page &page);
    void ReadStripPage(TIFF *tif, Page &page);

    // Reserved for writing multi-page files; decoding never sets them.
    TIFF *m_tifOut = nullptr;
    bool m_multiPage = false;
    int32_t m_pagesWritten = 0;
};
