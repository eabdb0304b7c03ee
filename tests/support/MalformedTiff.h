// TIFF files whose strips hold far less than their header claims, written through libtiff with
// the coded strips handed over as they are, for the tests of decoders that must refuse them.
#pragma once

#include <cstdint>

#include "tests/support/Bytes.h"

namespace support {

struct ShortStrips {
    uint32_t width = 0; // what the header claims
    uint32_t height = 0;
    uint32_t rowsPerStrip = 0;
    uint32_t writtenStrips = 0; // the first strips stored; the others have no data at all
    uint32_t stripBytes = 0;    // what each stored strip decodes to, whatever its rows need
};

// One grey 8-bit Deflate page as `strips` says: each stored strip is the Deflate data of
// `stripBytes` zeros. Throws std::runtime_error when libtiff refuses.
Bytes TiffWithShortStrips(const ShortStrips &strips);

// A little-endian header and one directory: width x height grey pixels, uncompressed, in one
// strip at offset 4096 of a file of about a hundred bytes (libtiff reads it as strips of a few
// rows each). Written byte by byte: libtiff would not write a strip where no data is.
Bytes TiffStripBeyondEnd(uint32_t width, uint32_t height);

} // namespace support
