#include "pdfw/tiff/TiffRows.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "pdfw/core/PdfwError.h"
#include "pdfw/raster/RasterImage.h"

namespace folvane::pdfw {

TiffRows::TiffRows(TiffFile &tiff, std::size_t rowBytes, int bitsPerPixel,
                   const MemoryProcs &memory)
    : tiff_(tiff), rowBytes_(rowBytes), bitsPerPixel_(bitsPerPixel), memory_(memory) {
    TIFF *t = tiff.handle();
    const TiffPage &p = tiff.page();
    if (p.tiled) {
        std::uint32_t tileWidth = 0, tileHeight = 0;
        TIFFGetField(t, TIFFTAG_TILEWIDTH, &tileWidth);
        TIFFGetField(t, TIFFTAG_TILELENGTH, &tileHeight);
        if (tileWidth == 0 || tileHeight == 0 || tileWidth % 8 != 0) {
            tiff.failRead("bad tile size");
        }
        unit_ = tileHeight;
        return;
    }
    std::uint32_t rowsPerStrip = p.height;
    TIFFGetFieldDefaulted(t, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    unit_ = std::clamp<std::uint32_t>(rowsPerStrip, 1, p.height);
    std::uint32_t needed = (p.height - 1) / unit_ + 1;
    if (TIFFNumberOfStrips(t) < needed) {
        tiff.failRead("too few strips for the image height");
    }
}

std::uint32_t TiffRows::bandRows(std::size_t bandBytes) {
    const std::uint32_t height = tiff_.page().height;
    if (bandBytes == 0) {
        return height;
    }
    std::uint64_t unitBytes = std::uint64_t{unit_} * rowBytes_;
    if (unitBytes > bandBytes && !tiff_.page().tiled) {
        scanlines_ = true;
        return static_cast<std::uint32_t>(
            std::clamp<std::uint64_t>(bandBytes / std::max<std::size_t>(rowBytes_, 1), 1, height));
    }
    std::uint64_t units =
        std::max<std::uint64_t>(bandBytes / std::max<std::uint64_t>(unitBytes, 1), 1);
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(units * unit_, height));
}

void TiffRows::read(unsigned char *pixels, std::uint32_t first, std::uint32_t count) {
    if (scanlines_) {
        readScanlines(pixels, first, count);
    } else if (tiff_.page().tiled) {
        readTiles(pixels, first, count);
    } else {
        readStrips(pixels, first, count);
    }
}

void TiffRows::readStrips(unsigned char *pixels, std::uint32_t first, std::uint32_t count) {
    for (std::uint32_t row = first; row < first + count; row += unit_) {
        std::uint32_t strip = row / unit_;
        std::uint32_t rows = std::min(unit_, first + count - row);
        std::size_t bytes = rows * rowBytes_;
        tmsize_t got =
            TIFFReadEncodedStrip(tiff_.handle(), strip, pixels + (row - first) * rowBytes_,
                                 static_cast<tmsize_t>(bytes));
        if (got < 0 || static_cast<std::size_t>(got) < bytes) {
            tiff_.failRead("cannot decode strip " + std::to_string(strip));
        }
    }
}

void TiffRows::readScanlines(unsigned char *pixels, std::uint32_t first, std::uint32_t count) {
    for (std::uint32_t row = first; row < first + count; ++row) {
        if (TIFFReadScanline(tiff_.handle(), pixels + (row - first) * rowBytes_, row, 0) < 0) {
            tiff_.failRead("cannot decode row " + std::to_string(row));
        }
    }
}

void TiffRows::readTiles(unsigned char *pixels, std::uint32_t first, std::uint32_t count) {
    TIFF *t = tiff_.handle();
    const TiffPage &p = tiff_.page();
    std::uint32_t tileWidth = 0, tileHeight = 0;
    TIFFGetField(t, TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(t, TIFFTAG_TILELENGTH, &tileHeight);
    std::size_t tileRowBytes = rasterRowBytes(tileWidth, 1, bitsPerPixel_, "a tile row");
    if (tile_.size() == 0) {
        tile_ = Buffer(memory_, checkedSize({tileRowBytes, tileHeight}, "a tile"), "TIFF tile");
    }
    for (std::uint32_t y = first; y < first + count; y += tileHeight) {
        for (std::uint32_t x = 0; x < p.width; x += tileWidth) {
            if (TIFFReadTile(t, tile_.data(), x, y, 0, 0) < 0) {
                tiff_.failRead("cannot decode the tile at " + std::to_string(x) + "," +
                               std::to_string(y));
            }
            std::size_t offset = static_cast<std::size_t>(x) * bitsPerPixel_ / 8;
            std::size_t span = std::min(tileRowBytes, rowBytes_ - offset);
            std::uint32_t rows = std::min(tileHeight, first + count - y);
            for (std::uint32_t r = 0; r < rows; ++r) {
                std::memcpy(pixels + (y - first + r) * rowBytes_ + offset,
                            tile_.data() + r * tileRowBytes, span);
            }
        }
    }
}

} // namespace folvane::pdfw
