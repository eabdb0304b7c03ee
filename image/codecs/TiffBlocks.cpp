#include "image/codecs/TiffBlocks.h"

#include <algorithm>
#include <cstdio>

#include <tiffio.h>

#include "image/CfImage.h"
#include "image/SafeSize.h"
#include "image/codecs/CfTiffStreamProcs.h"
#include "image/codecs/DecodeFailure.h"

TiffBlockMode ChooseTiffBlockMode(TIFF *tif, uint16_t planes, bool wholeStrips) {
    if (TIFFIsTiled(tif)) {
        return TiffBlockMode::Tiles;
    }
    const auto bytes = SafeSize::Mul(TIFFStripSize64(tif), planes);
    return wholeStrips || (bytes && *bytes <= kTiffBandCeiling) ? TiffBlockMode::Strips
                                                                : TiffBlockMode::Scanlines;
}

TiffBlockReader::TiffBlockReader(TIFF *tif, const CfImageTIF::Page &page, uint16_t planes,
                                 TiffBlockMode mode, TiffMessages &messages)
    : m_tif(tif), m_width(page.width), m_height(page.height), m_rowsPerStrip(page.rowsPerStrip),
      m_tileWidth(page.tileWidth), m_tileLength(page.tileLength), m_planes(planes), m_mode(mode),
      m_messages(messages) {
    if (planes == 0 || planes > kTiffMaxPlanes) {
        RaiseDecodeFailure("ReducedTiff: pages of more than 4 separate planes are not read "
                           "reduced");
    }
    // What libtiff said while it read the directory does not count against the pixels.
    m_messages = TiffMessages{};
}

void TiffBlockReader::Check(bool ok, const char *what, uint64_t at, uint64_t of) const {
    if (ok && m_messages.dataEnded == 0) {
        return;
    }
    const char *words = !ok && m_messages.errors > 0 ? m_messages.firstError
                        : m_messages.dataEnded > 0   ? m_messages.firstDataEnded
                                                     : "its data is damaged or missing";
    char text[kLastErrorSize];
    std::snprintf(text, sizeof text, "ReducedTiff: %s %llu of %llu cannot be read (%s)", what,
                  static_cast<unsigned long long>(at) + 1, static_cast<unsigned long long>(of),
                  words);
    RaiseDecodeFailure(text);
}

void TiffBlockReader::AllocatePlanes(uint64_t bytes, const char *what) {
    const auto total = SafeSize::Mul(bytes, m_planes);
    if (bytes == 0 || !total || *total > kTiffBandCeiling) {
        char text[kLastErrorSize];
        std::snprintf(text, sizeof text,
                      "ReducedTiff: a %s of %llu bytes in %u planes is beyond the %llu MiB the "
                      "reduced decode reads at a time",
                      what, static_cast<unsigned long long>(bytes), unsigned(m_planes),
                      static_cast<unsigned long long>(kTiffBandCeiling >> 20));
        RaiseDecodeFailure(text);
    }
    for (uint16_t p = 0; p < m_planes; ++p) {
        m_buffers[p].assign(static_cast<size_t>(bytes), 0);
    }
}

void TiffBlockReader::ReadAll(const std::function<void(const TiffBlock &)> &visit) {
    switch (m_mode) {
    case TiffBlockMode::Scanlines:
        ReadScanlines(visit);
        return;
    case TiffBlockMode::Strips:
        ReadStrips(visit);
        return;
    case TiffBlockMode::Tiles:
        ReadTiles(visit);
        return;
    }
}

void TiffBlockReader::ReadScanlines(const std::function<void(const TiffBlock &)> &visit) {
    const tmsize_t rowBytes = TIFFScanlineSize(m_tif);
    AllocatePlanes(rowBytes > 0 ? uint64_t(rowBytes) : 0, "row");
    TiffBlock block;
    block.width = m_width;
    block.rows = 1;
    block.rowPixels = m_width;
    block.rowBytes = size_t(rowBytes);
    block.planeBytes = size_t(rowBytes);
    block.planes[0] = m_buffers[0].data();
    for (uint32_t y = 0; y < m_height; ++y) {
        Check(TIFFReadScanline(m_tif, m_buffers[0].data(), y, 0) >= 0, "row", y, m_height);
        block.y0 = y;
        visit(block);
    }
}

void TiffBlockReader::ReadStrips(const std::function<void(const TiffBlock &)> &visit) {
    const uint32_t rowsPerStrip = m_rowsPerStrip;
    const uint64_t stripBytes = TIFFStripSize64(m_tif);
    const uint64_t rowBytes = TIFFScanlineSize64(m_tif);
    AllocatePlanes(rowsPerStrip == 0 || rowBytes == 0 ? 0 : stripBytes, "strip");
    TiffBlock block;
    block.width = m_width;
    block.rowPixels = m_width;
    block.rowBytes = size_t(rowBytes);
    block.planeBytes = size_t(stripBytes);
    block.planeCount = m_planes;
    const uint32_t strips = TIFFNumberOfStrips(m_tif);
    for (uint64_t y0 = 0; y0 < m_height; y0 += rowsPerStrip) {
        block.y0 = uint32_t(y0);
        block.rows = uint32_t(std::min<uint64_t>(rowsPerStrip, m_height - y0));
        const uint64_t wanted = TIFFVStripSize64(m_tif, block.rows);
        for (uint16_t p = 0; p < m_planes; ++p) {
            const uint32_t strip = TIFFComputeStrip(m_tif, block.y0, p);
            const tmsize_t got =
                wanted <= stripBytes
                    ? TIFFReadEncodedStrip(m_tif, strip, m_buffers[p].data(), tmsize_t(wanted))
                    : -1;
            Check(got >= 0 && uint64_t(got) >= wanted, "strip", strip, strips);
            block.planes[p] = m_buffers[p].data();
        }
        visit(block);
    }
}

void TiffBlockReader::ReadTiles(const std::function<void(const TiffBlock &)> &visit) {
    const uint32_t tileWidth = m_tileWidth;
    const uint32_t tileLength = m_tileLength;
    const uint64_t tileBytes = TIFFTileSize64(m_tif);
    const uint64_t tileRowBytes = TIFFTileRowSize64(m_tif);
    if (tileWidth == 0 || tileLength == 0 || tileRowBytes == 0) {
        RaiseDecodeFailure("ReducedTiff: the tile layout is damaged");
    }
    AllocatePlanes(tileBytes, "tile");
    TiffBlock block;
    block.rowPixels = tileWidth;
    block.rowBytes = size_t(tileRowBytes);
    block.planeBytes = size_t(tileBytes);
    block.planeCount = m_planes;
    const uint32_t tiles = TIFFNumberOfTiles(m_tif);
    for (uint64_t y0 = 0; y0 < m_height; y0 += tileLength) {
        block.y0 = uint32_t(y0);
        block.rows = uint32_t(std::min<uint64_t>(tileLength, m_height - y0));
        for (uint64_t x0 = 0; x0 < m_width; x0 += tileWidth) {
            block.x0 = uint32_t(x0);
            block.width = uint32_t(std::min<uint64_t>(tileWidth, m_width - x0));
            for (uint16_t p = 0; p < m_planes; ++p) {
                Check(TIFFReadTile(m_tif, m_buffers[p].data(), block.x0, block.y0, 0, p) >= 0,
                      "tile", TIFFComputeTile(m_tif, block.x0, block.y0, 0, p), tiles);
                block.planes[p] = m_buffers[p].data();
            }
            visit(block);
        }
    }
}
