#include "pdfw/raster/RasterCrop.h"

#include <algorithm>
#include <cstring>

namespace folvane::pdfw {

namespace {

// Copies `count` bits from bit `from` of `source` to the start of `target`, most significant
// bit first, as PDF and the decoders pack samples of fewer than eight bits.
void copyBits(const unsigned char *source, std::uint64_t from, std::uint64_t count,
              unsigned char *target) {
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t bit = from + i;
        if (source[bit / 8] & (0x80u >> (bit % 8))) {
            target[i / 8] |= static_cast<unsigned char>(0x80u >> (i % 8));
        }
    }
}

// Rows `firstRow` .. `firstRow + rows` of a plane of `bitsPerPixel`-bit pixels `width` wide, cut
// to the columns `x` .. `x + columns`.
Buffer cropPlane(const Buffer &plane, std::uint32_t width, int bitsPerPixel, std::uint64_t firstRow,
                 std::uint64_t rows, std::uint64_t x, std::uint64_t columns,
                 const MemoryProcs &memory) {
    const std::size_t sourceRow = rasterRowBytes(width, 1, bitsPerPixel, "an image row");
    const std::size_t keptRow =
        rasterRowBytes(static_cast<std::uint32_t>(columns), 1, bitsPerPixel, "a cropped row");
    Buffer kept(memory, checkedSize({keptRow, rows}, "a cropped picture"), "cropped picture");
    std::memset(kept.data(), 0, kept.size());
    for (std::uint64_t row = 0; row < rows; ++row) {
        const unsigned char *from = plane.data() + (firstRow + row) * sourceRow;
        unsigned char *to = kept.data() + row * keptRow;
        if (bitsPerPixel % 8 == 0) {
            std::memcpy(to, from + x * (bitsPerPixel / 8), keptRow);
        } else {
            copyBits(from, x * bitsPerPixel, columns * bitsPerPixel, to);
        }
    }
    return kept;
}

// The rows `firstRow` .. `firstRow + rows` of `image`, cut to the area's columns.
RasterImage cropRows(const RasterImage &image, std::uint64_t firstRow, std::uint64_t rows,
                     const folvane::StoredArea &area, const MemoryProcs &memory) {
    RasterImage kept = rasterLayout(image);
    kept.width = static_cast<std::uint32_t>(area.width);
    kept.height = static_cast<std::uint32_t>(rows);
    const auto x = static_cast<std::uint64_t>(area.x);
    const auto columns = static_cast<std::uint64_t>(area.width);
    kept.pixels = cropPlane(image.pixels, image.width, image.components * image.bitsPerComponent,
                            firstRow, rows, x, columns, memory);
    if (image.alpha.size() > 0) {
        kept.alpha = cropPlane(image.alpha, image.width, image.bitsPerComponent, firstRow, rows, x,
                               columns, memory);
    }
    return kept;
}

} // namespace

RasterImage cropRaster(const RasterImage &image, const folvane::StoredArea &area,
                       const MemoryProcs &memory) {
    return cropRows(image, static_cast<std::uint64_t>(area.y),
                    static_cast<std::uint64_t>(area.height), area, memory);
}

bool BandCrop::crop(const RasterImage &band, RasterImage &kept, const MemoryProcs &memory) {
    const std::uint64_t bandTop = nextRow_;
    nextRow_ += band.height;
    const auto top = static_cast<std::uint64_t>(area_.y);
    const std::uint64_t bottom = top + static_cast<std::uint64_t>(area_.height);
    const std::uint64_t first = std::max(bandTop, top);
    const std::uint64_t last = std::min(nextRow_, bottom);
    if (first >= last) {
        return false;
    }
    kept = cropRows(band, first - bandTop, last - first, area_, memory);
    return true;
}

} // namespace folvane::pdfw
