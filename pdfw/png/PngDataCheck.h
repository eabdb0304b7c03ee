// Whether a PNG's image data is whole, told as it streams past: every chunk's CRC right, the
// zlib stream complete and inflating to exactly the rows the header promises, each led by a
// known filter type. That is what a PDF reader's Flate and predictor decoding needs to give
// libpng's samples, so only such data is copied into the document as it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <zlib.h>

#include "pdfw/core/InputFile.h"
#include "pdfw/core/Memory.h"
#include "pdfw/core/SpillFile.h"
#include "pdfw/png/PngFile.h"

namespace folvane::pdfw {

class PngDataCheck {
public:
    // For rows of `rowBytes` bytes (without the filter type byte).
    PngDataCheck(const PngInfo &info, std::size_t rowBytes);
    ~PngDataCheck();
    PngDataCheck(const PngDataCheck &) = delete;
    PngDataCheck &operator=(const PngDataCheck &) = delete;

    // The next bytes of the zlib stream.
    void feed(const unsigned char *data, std::size_t size);
    // After the last bytes: true when the data is whole.
    bool whole() const;

private:
    z_stream z_{};
    std::vector<unsigned char> window_;
    std::uint64_t stride_;
    std::uint64_t expected_;
    std::uint64_t produced_ = 0;
    int status_ = Z_OK;
    bool filtersKnown_ = true;
};

// The IDAT chunks' data joined into `data` (the zlib stream a PDF carries), checked as it goes.
// False when a chunk's CRC is wrong or the data is not whole.
bool gatherPngData(const ByteSource &file, const PngInfo &info, std::size_t rowBytes, Buffer &data);

// The same into a spill file, a piece at a time, for image data too large to hold; with no
// file (`out` null), only checked.
bool spillPngData(const ByteSource &file, const PngInfo &info, std::size_t rowBytes, SpillFile *out,
                  const MemoryProcs &memory);

} // namespace folvane::pdfw
