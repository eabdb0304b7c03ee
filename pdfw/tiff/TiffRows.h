// Reading a TIFF page's stored rows a band at a time, as its strips or tiles allow: a band is
// whole strips or whole rows of tiles, or single rows (libtiff reads long strips in parts then)
// when one strip is larger than a band should be.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pdfw/core/Memory.h"
#include "pdfw/tiff/TiffFile.h"

namespace folvane::pdfw {

class TiffRows {
public:
    // `rowBytes` bytes to a row of `bitsPerPixel` bits a pixel (contiguous samples, or a page
    // of one sample).
    TiffRows(TiffFile &tiff, std::size_t rowBytes, int bitsPerPixel, const MemoryProcs &memory);

    // How many rows a band of about `bandBytes` holds, fitted to the strips or tiles; the whole
    // height for `bandBytes` 0.
    std::uint32_t bandRows(std::size_t bandBytes);

    // Reads rows `first` to `first + count` (first at a band's start, bands in order) into
    // `pixels`. PDFW_SYNTAX_ERROR for data libtiff cannot decode.
    void read(unsigned char *pixels, std::uint32_t first, std::uint32_t count);

private:
    void readStrips(unsigned char *pixels, std::uint32_t first, std::uint32_t count);
    void readTiles(unsigned char *pixels, std::uint32_t first, std::uint32_t count);
    void readScanlines(unsigned char *pixels, std::uint32_t first, std::uint32_t count);

    TiffFile &tiff_;
    std::size_t rowBytes_;
    int bitsPerPixel_;
    MemoryProcs memory_;
    std::uint32_t unit_ = 1; // rows of a strip or of a row of tiles
    bool scanlines_ = false; // strips too long for a band: row by row
    Buffer tile_;
};

} // namespace folvane::pdfw
