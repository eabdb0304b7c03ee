// The grey picture text recognition reads of a page too large to hold, put together band by
// band from the decoded rows: at the page's size, or reduced by a whole factor (each output
// pixel the average of a square of input pixels) so that it stays within kRecognitionPixels.
// Recognition needs about 300 dpi; a 600-dpi A3 scan is read at half its size, a 30000-pixel
// square plan at a fifth.
#pragma once

#include <cstdint>
#include <vector>

#include "pdfw/core/Memory.h"
#include "pdfw/core/PagePixels.h"
#include "pdfw/raster/RasterImage.h"

namespace folvane::pdfw {

// The most pixels of a picture handed to recognition: a 600-dpi A4 page, or A3 at 420 dpi.
inline constexpr std::uint64_t kRecognitionPixels = std::uint64_t{36} << 20;

class GreyCanvas {
public:
    // For a picture of width x height stored pixels of `dpi` (0: unknown).
    GreyCanvas(std::uint32_t width, std::uint32_t height, int dpi, const MemoryProcs &memory);

    // The next rows, top first, as decodeTiffBands and decodePngBands give them; `palette`:
    // the grey of each palette entry for indexed samples, else null.
    void add(const RasterImage &band, const std::vector<unsigned char> *palette);

    // The picture, shown by `orientation`; `reduction` says by how much it was reduced.
    PagePixels finish(int orientation);

private:
    void emitRow();

    std::uint32_t width_, height_;
    int dpi_;
    MemoryProcs memory_;
    std::uint32_t factor_ = 1;
    std::uint32_t outWidth_, outHeight_;
    Buffer grey_;
    std::vector<std::uint32_t> sums_; // of the output row being gathered
    std::uint32_t rowsIn_ = 0;        // input rows taken so far
    std::uint32_t rowsOut_ = 0;
};

} // namespace folvane::pdfw
