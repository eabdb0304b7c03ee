// TIFF files written through libtiff (one or several pages, each with its own layout), and
// libtiff's own RGBA reading of a page as the reference a decode is compared with.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <tiffio.h>

#include "tests/support/Bytes.h"
#include "tests/support/Picture.h"

namespace support {

struct TiffPage {
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t samplesPerPixel = 1;
    uint16_t bitsPerSample = 8;
    uint16_t photometric = PHOTOMETRIC_MINISBLACK;
    uint16_t compression = COMPRESSION_NONE;
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint32_t rowsPerStrip = 0; // 0: the tag is left out (one strip)
    uint32_t tileWidth = 0;    // tiled when both are set; bytes past the picture are 0xEE
    uint32_t tileLength = 0;
    uint16_t orientation = 0; // 0: the tag is left out
    uint16_t fillOrder = 0;   // 0: the tag is left out
    uint16_t predictor = 0;   // 0: the tag is left out
    uint32_t group3Options = 0;
    std::vector<uint16_t> extraSamples;
    std::vector<uint16_t> colorMap; // reds, then greens, then blues: 3 * 2^bits values
    uint16_t resolutionUnit = 0;    // 0: the tag is left out
    std::optional<float> xResolution, yResolution, xPosition, yPosition;
    int jpegQuality = 90;            // JPEG compression; YCbCr pages take RGB rows
    bool jpegTablesInStrips = false; // JPEG: each strip with its own tables
    Bytes iccProfile;                // the ICC profile tag when not empty
    // Rows top first, each packed as the file stores it (16-bit samples in host order); with
    // `coded`, the one strip's bytes exactly as the file holds them after compression.
    Bytes data;
    bool coded = false;

    std::size_t RowBytes() const {
        return (std::size_t{width} * samplesPerPixel * bitsPerSample + 7) / 8;
    }
};

// An 8-bit page of the picture: grey, grey + alpha, RGB or RGB + alpha (unassociated).
TiffPage TiffPageOf(const Picture &picture);

// A bilevel, min-is-white page (a scan or a fax) of all-white rows, coded with `compression`.
TiffPage FaxPage(uint32_t width, uint32_t height, uint16_t compression = COMPRESSION_CCITTFAX4);

// Writes the pages into one file (several pages are marked as pages of one document, in
// order). mode "w" writes the host's byte order, "wb" big-endian, "w8" BigTIFF. Throws
// std::runtime_error when libtiff refuses.
void WriteTiff(const std::string &path, const std::vector<TiffPage> &pages, const char *mode = "w");

// Fills `row` with row y (from the top) of a picture too large to be held whole, packed as the
// file stores it.
using RowSource = std::function<void(uint32_t y, uint8_t *row)>;

// Writes a one-page file whose rows come from `rows` (page.data is not used), scanline by
// scanline into strips of page.rowsPerStrip rows (libtiff's default when 0), so that a file of
// any size costs about one strip of memory. Deflate pages use the fastest level. Tiled and
// pre-coded pages are not written this way. Throws std::runtime_error when libtiff refuses.
void WriteTiffInBands(const std::string &path, const TiffPage &page, const RowSource &rows);

// Page `page` (from 0) as libtiff's RGBA reader gives it, top row first, 4 components; an
// empty picture when the reader fails.
Picture ReadTiffRgba(const std::string &path, int page = 0);

// The first page's strip `strip` as the file holds it, still compressed; empty when libtiff
// cannot read it.
Bytes ReadRawStrip(const std::string &path, uint32_t strip = 0);

// Two uncompressed grey pages, 4 x 4 and 200 x 100, where the file ends `present` bytes into
// the second page's one strip of 20000.
Bytes TiffSecondStripCut(uint32_t present);

// A TIFF whose first directory has no entries.
Bytes EmptyDirectoryTiff();

} // namespace support
