// Pictures too large to hold in a test, written a band of rows at a time through libtiff and
// libpng: the caller gives each row as it is written, so no whole picture is ever in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "tests/support/Png.h"
#include "tests/support/Tiff.h"

namespace support {

// Fills `row` (the page's RowBytes()) with row `y`, samples packed as the file stores them
// (16-bit TIFF samples in host order, 16-bit PNG samples big-endian).
using RowMaker = std::function<void(uint32_t y, uint8_t *row)>;

// One page with `page`'s tags (its data is not used), in strips of page.rowsPerStrip rows.
// Throws std::runtime_error when libtiff refuses.
void WriteTiffRows(const std::string &path, const TiffPage &page, const RowMaker &rows);

// A PNG with `image`'s header (its data is not used), not interlaced. Throws
// std::runtime_error when libpng refuses.
void WritePngRows(const std::string &path, const PngImage &image, const RowMaker &rows);

} // namespace support
