// Reading one TIFF page a band at a time for the reduced decode: a strip at a time (libtiff
// decodes whole strips twice as fast as it decodes them row by row), a tile at a time, or, for
// contiguous strips larger than the band ceiling, a scanline at a time (libtiff then decodes a
// strip as it goes, so a strip of any height costs one row). Each read is a block, with every
// plane of it.
//
// No buffer passes kTiffBandCeiling. A block that cannot be read, or whose data libtiff says
// ended early (it warns, and goes on with white or grey rows, for fax and JPEG strips), raises
// DecodeFailure naming the row, strip or tile and libtiff's words: the reduced decode never
// shows part of a picture as all of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "image/codecs/CfImageTIFPage.h"

typedef struct tiff TIFF;
struct TiffMessages;

// The most bytes one band (with all its planes) may take.
inline constexpr uint64_t kTiffBandCeiling = uint64_t{64} << 20;
// The most planes a page stored plane by plane may have for the reduced decode.
inline constexpr uint16_t kTiffMaxPlanes = 4;

struct TiffBlock {
    uint32_t x0 = 0; // the block's first pixel in the stored picture
    uint32_t y0 = 0;
    uint32_t width = 0; // its pixels inside the picture, across and down
    uint32_t rows = 0;
    uint32_t rowPixels = 0; // pixels a data row holds: the tile's width, or the picture's
    size_t rowBytes = 0;    // bytes from one data row of a plane to the next
    size_t planeBytes = 0;  // bytes each plane's buffer holds
    uint16_t planeCount = 1;
    const uint8_t *planes[kTiffMaxPlanes] = {};
};

enum class TiffBlockMode { Scanlines, Strips, Tiles };

// How to read the current page: tiles by the tile; strips whole when they fit the band
// ceiling or when `wholeStrips` (separate planes, subsampled YCbCr: libtiff's conversion takes
// them only whole), else a scanline at a time. `planes` as for TiffBlockReader.
TiffBlockMode chooseTiffBlockMode(TIFF *tif, uint16_t planes, bool wholeStrips);

class TiffBlockReader {
public:
    // planes is 1 for contiguous data and the samples per pixel for separate planes; messages
    // are those of the handle (TiffOpenStream), counted afresh for the reading. The page's
    // RowsPerStrip is settled (SettleRowsPerStrip).
    TiffBlockReader(TIFF *tif, const CfImageTIF::Page &page, uint16_t planes, TiffBlockMode mode,
                    TiffMessages &messages);

    // Reads the page top to bottom, the tiles of a row of tiles left to right, and hands each
    // block to visit.
    void readAll(const std::function<void(const TiffBlock &)> &visit);

private:
    void readScanlines(const std::function<void(const TiffBlock &)> &visit);
    void readStrips(const std::function<void(const TiffBlock &)> &visit);
    void readTiles(const std::function<void(const TiffBlock &)> &visit);
    // Makes the buffers of one plane each, `bytes` long, within the band ceiling.
    void allocatePlanes(uint64_t bytes, const char *what);
    // Raises when a read failed (ok false) or libtiff warned while it read.
    void check(bool ok, const char *what, uint64_t at, uint64_t of) const;

    TIFF *tif_;
    uint32_t width_;
    uint32_t height_;
    uint32_t rowsPerStrip_;
    uint32_t tileWidth_;
    uint32_t tileLength_;
    uint16_t planes_;
    TiffBlockMode mode_;
    TiffMessages &messages_;
    std::vector<uint8_t> buffers_[kTiffMaxPlanes];
};
