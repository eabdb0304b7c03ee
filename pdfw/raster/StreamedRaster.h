// A decoded picture too large to hold, made into its image XObject band by band: each band of
// rows goes through the PNG predictor and a streaming Flate compressor into a spill file (one
// for the colour samples, one for alpha) and is dropped, so memory depends on the width and the
// band, not on the height. The objects are those prepareRaster makes of the whole picture,
// their data in the spill files.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "pdfw/core/Memory.h"
#include "pdfw/core/PreparedImage.h"
#include "pdfw/raster/RasterImage.h"

namespace folvane::pdfw {

class StreamedRaster {
public:
    // Spill files go to `folder`.
    StreamedRaster(std::string folder, const MemoryProcs &memory);
    ~StreamedRaster();
    StreamedRaster(const StreamedRaster &) = delete;
    StreamedRaster &operator=(const StreamedRaster &) = delete;

    // The next rows, top first: `band.height` rows of `band.pixels` (and `band.alpha`) in the
    // layout RasterImage describes. The first band's layout (bits, components, palette, alpha
    // or not) holds for every band; the buffers stay the caller's.
    void add(const RasterImage &band);

    // The XObject (and its soft mask) of the `height` rows added, described by `layout` (its
    // colour space, palette and flags; its samples are not used). PDFW_INTERNAL when the
    // rows added are not `height`.
    PreparedImage finish(const RasterImage &layout, std::uint32_t height, int pdfMinor,
                         const std::string &path);

private:
    class Plane;

    std::string folder_;
    MemoryProcs memory_;
    std::unique_ptr<Plane> pixels_;
    std::unique_ptr<Plane> alpha_;
    bool opaque_ = true; // every alpha sample so far is the largest value
    std::uint32_t rows_ = 0;
};

} // namespace folvane::pdfw
