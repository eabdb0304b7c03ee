// The kept part of a decoded picture: the rows and columns of a crop, copied out of a picture
// held whole or out of each band of one that goes through in bands.
#pragma once

#include <cstdint>

#include "pdfw/core/CropArea.h"
#include "pdfw/core/Memory.h"
#include "pdfw/raster/RasterImage.h"

namespace folvane::pdfw {

// The pixels (and alpha) of `image` inside `area`, which must lie inside it; every other field
// as `image` has it.
RasterImage cropRaster(const RasterImage &image, const folvane::StoredArea &area,
                       const MemoryProcs &memory);

// Crops the bands of one picture as they come, top first.
class BandCrop {
public:
    explicit BandCrop(const folvane::StoredArea &area) : area_(area) {}

    // The rows of `band` inside the area, cut to its columns; false (and `kept` untouched) when
    // none of the band's rows is inside.
    bool crop(const RasterImage &band, RasterImage &kept, const MemoryProcs &memory);

private:
    folvane::StoredArea area_;
    std::uint64_t nextRow_ = 0; // the picture's row the next band starts at
};

} // namespace folvane::pdfw
