#include "image/codecs/TiffBlocks.h"

#include <algorithm>
#include <cstdio>

#include <tiffio.h>

#include "image/CfImage.h"
#include "image/SafeSize.h"
#include "image/codecs/CfTiffStreamProcs.h"
#include "image/codecs/DecodeFailure.h"

TiffBlockMode chooseTiffBlockMode(TIFF *tif, uint16_t planes, bool wholeStrips) {
    if (TIFFIsTiled(tif)) {
        return TiffBlockMode::Tiles;
    }
    const auto bytes = SafeSize::mul(TIFFStripSize64(tif), planes);
    return wholeStrips || (bytes && *bytes <= kTiffBandCeiling) ? TiffBlockMode::Strips
                                                                : TiffBlockMode::Scanlines;
}

TiffBlockReader::TiffBlockReader(TIFF *tif, const CfImageTIF::Page &page, uint16_t planes,
                                 TiffBlockMode mode, TiffMessages &messages)
    : tif_(tif), width_(page.width), height_(page.height), rowsPerStrip_(page.rowsPerStrip),
      tileWidth_(page.tileWidth), tileLength_(page.tileLength), planes_(planes), mode_(mode),
      messages_(messages) {
    if (planes == 0 || planes > kTiffMaxPlanes) {
        raiseDecodeFailure("ReducedTiff: pages of more than 4 separate planes are not read "
                           "reduced");
    }
    // What libtiff said while it read the directory does not count against the pixels.
    messages_ = TiffMessages{};
}

void TiffBlockReader::check(bool ok, const char *what, uint64_t at, uint64_t of) const {
    if (ok && messages_.dataEnded == 0) {
        return;
    }
    const char *words = !ok && messages_.errors > 0 ? messages_.firstError
                        : messages_.dataEnded > 0   ? messages_.firstDataEnded
                                                    : "its data is damaged or missing";
    char text[kLastErrorSize];
    std::snprintf(text, sizeof text, "ReducedTiff: %s %llu of %llu cannot be read (%s)", what,
                  static_cast<unsigned long long>(at) + 1, static_cast<unsigned long long>(of),
                  words);
    raiseDecodeFailure(text);
}

void TiffBlockReader::allocatePlanes(uint64_t bytes, const char *what) {
    const auto total = SafeSize::mul(bytes, planes_);
    if (bytes == 0 || !total || *total > kTiffBandCeiling) {
        char text[kLastErrorSize];
        std::snprintf(text, sizeof text,
                      "ReducedTiff: a %s of %llu bytes in %u planes is beyond the %llu MiB the "
                      "reduced decode reads at a time",
                      what, static_cast<unsigned long long>(bytes), unsigned(planes_),
                      static_cast<unsigned long long>(kTiffBandCeiling >> 20));
        raiseDecodeFailure(text);
    }
    for (uint16_t p = 0; p < planes_; ++p) {
        buffers_[p].assign(static_cast<size_t>(bytes), 0);
    }
}

void TiffBlockReader::readAll(const std::function<void(const TiffBlock &)> &visit) {
    switch (mode_) {
    case TiffBlockMode::Scanlines:
        readScanlines(visit);
        return;
    case TiffBlockMode::Strips:
        readStrips(visit);
        return;
    case TiffBlockMode::Tiles:
        readTiles(visit);
        return;
    }
}

void TiffBlockReader::readScanlines(const std::function<void(const TiffBlock &)> &visit) {
    const tmsize_t rowBytes = TIFFScanlineSize(tif_);
    allocatePlanes(rowBytes > 0 ? uint64_t(rowBytes) : 0, "row");
    TiffBlock block;
    block.width = width_;
    block.rows = 1;
    block.rowPixels = width_;
    block.rowBytes = size_t(rowBytes);
    block.planeBytes = size_t(rowBytes);
    block.planes[0] = buffers_[0].data();
    for (uint32_t y = 0; y < height_; ++y) {
        check(TIFFReadScanline(tif_, buffers_[0].data(), y, 0) >= 0, "row", y, height_);
        block.y0 = y;
        visit(block);
    }
}

void TiffBlockReader::readStrips(const std::function<void(const TiffBlock &)> &visit) {
    const uint32_t rowsPerStrip = rowsPerStrip_;
    const uint64_t stripBytes = TIFFStripSize64(tif_);
    const uint64_t rowBytes = TIFFScanlineSize64(tif_);
    allocatePlanes(rowsPerStrip == 0 || rowBytes == 0 ? 0 : stripBytes, "strip");
    TiffBlock block;
    block.width = width_;
    block.rowPixels = width_;
    block.rowBytes = size_t(rowBytes);
    block.planeBytes = size_t(stripBytes);
    block.planeCount = planes_;
    const uint32_t strips = TIFFNumberOfStrips(tif_);
    for (uint64_t y0 = 0; y0 < height_; y0 += rowsPerStrip) {
        block.y0 = uint32_t(y0);
        block.rows = uint32_t(std::min<uint64_t>(rowsPerStrip, height_ - y0));
        const uint64_t wanted = TIFFVStripSize64(tif_, block.rows);
        for (uint16_t p = 0; p < planes_; ++p) {
            const uint32_t strip = TIFFComputeStrip(tif_, block.y0, p);
            const tmsize_t got =
                wanted <= stripBytes
                    ? TIFFReadEncodedStrip(tif_, strip, buffers_[p].data(), tmsize_t(wanted))
                    : -1;
            check(got >= 0 && uint64_t(got) >= wanted, "strip", strip, strips);
            block.planes[p] = buffers_[p].data();
        }
        visit(block);
    }
}

void TiffBlockReader::readTiles(const std::function<void(const TiffBlock &)> &visit) {
    const uint32_t tileWidth = tileWidth_;
    const uint32_t tileLength = tileLength_;
    const uint64_t tileBytes = TIFFTileSize64(tif_);
    const uint64_t tileRowBytes = TIFFTileRowSize64(tif_);
    if (tileWidth == 0 || tileLength == 0 || tileRowBytes == 0) {
        raiseDecodeFailure("ReducedTiff: the tile layout is damaged");
    }
    allocatePlanes(tileBytes, "tile");
    TiffBlock block;
    block.rowPixels = tileWidth;
    block.rowBytes = size_t(tileRowBytes);
    block.planeBytes = size_t(tileBytes);
    block.planeCount = planes_;
    const uint32_t tiles = TIFFNumberOfTiles(tif_);
    for (uint64_t y0 = 0; y0 < height_; y0 += tileLength) {
        block.y0 = uint32_t(y0);
        block.rows = uint32_t(std::min<uint64_t>(tileLength, height_ - y0));
        for (uint64_t x0 = 0; x0 < width_; x0 += tileWidth) {
            block.x0 = uint32_t(x0);
            block.width = uint32_t(std::min<uint64_t>(tileWidth, width_ - x0));
            for (uint16_t p = 0; p < planes_; ++p) {
                check(TIFFReadTile(tif_, buffers_[p].data(), block.x0, block.y0, 0, p) >= 0, "tile",
                      TIFFComputeTile(tif_, block.x0, block.y0, 0, p), tiles);
                block.planes[p] = buffers_[p].data();
            }
            visit(block);
        }
    }
}
