#include "pdfw/raster/StreamedRaster.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

#include "pdfw/core/PdfwError.h"
#include "pdfw/core/SpillFile.h"
#include "pdfw/raster/FlateEncoder.h"
#include "pdfw/raster/FlateStream.h"

namespace folvane::pdfw {

// One plane of samples on its way to a spill file: rows predicted against the row before
// (kept), then compressed.
class StreamedRaster::Plane {
public:
    Plane(const std::string &folder, std::size_t rowBytes, std::size_t pixelBytes, bool predicted,
          const MemoryProcs &memory)
        : spill_(folder), stream_(spill_), rowBytes_(rowBytes), pixelBytes_(pixelBytes),
          predicted_(predicted) {
        if (predicted_) {
            above_ = Buffer(memory, rowBytes, "the row above");
            filtered_ = Buffer(memory, checkedSize({rowBytes, 1, 1}, "a row") + 1, "a row");
        }
    }

    void add(const unsigned char *rows, std::uint32_t count) {
        for (std::uint32_t y = 0; y < count; ++y) {
            const unsigned char *row = rows + y * rowBytes_;
            if (!predicted_) {
                stream_.write(row, rowBytes_);
                continue;
            }
            pngPredictRow(row, haveAbove_ ? above_.data() : nullptr, rowBytes_, pixelBytes_,
                          filtered_.data());
            stream_.write(filtered_.data(), rowBytes_ + 1);
            std::memcpy(above_.data(), row, rowBytes_);
            haveAbove_ = true;
        }
    }

    RasterPlane finish(std::string filter) {
        stream_.finish();
        RasterPlane plane;
        plane.file.emplace(spill_.span());
        plane.filter = std::move(filter);
        return plane;
    }

private:
    SpillFile spill_;
    FlateStream stream_;
    std::size_t rowBytes_;
    std::size_t pixelBytes_;
    bool predicted_;
    Buffer above_;
    Buffer filtered_;
    bool haveAbove_ = false;
};

StreamedRaster::StreamedRaster(std::string folder, const MemoryProcs &memory)
    : folder_(std::move(folder)), memory_(memory) {}

StreamedRaster::~StreamedRaster() = default;

void StreamedRaster::add(const RasterImage &band) {
    const int bits = band.bitsPerComponent;
    const bool indexed = !band.palette.empty();
    const bool predicted = rasterPredicted(band, indexed);
    const std::size_t bytes = bits == 16 ? 2 : 1;
    const std::size_t rowBytes = rasterRowBytes(band.width, band.components, bits, "an image row");
    if (!pixels_) {
        pixels_ = std::make_unique<Plane>(folder_, rowBytes,
                                          static_cast<std::size_t>(band.components) * bytes,
                                          predicted, memory_);
    }
    pixels_->add(band.pixels.data(), band.height);
    if (band.alpha.size() > 0) {
        const std::size_t alphaRow = rasterRowBytes(band.width, 1, bits, "an alpha row");
        if (!alpha_) {
            // Opacity is predicted whatever the colour samples are, palette indices included.
            alpha_ = std::make_unique<Plane>(folder_, alphaRow, bytes, rasterPredicted(band, false),
                                             memory_);
        }
        const unsigned char *a = band.alpha.data();
        const std::size_t count = alphaRow * band.height;
        opaque_ = opaque_ && std::all_of(a, a + count, [](unsigned char v) { return v == 0xFF; });
        alpha_->add(a, band.height);
    }
    rows_ += band.height;
}

PreparedImage StreamedRaster::finish(const RasterImage &layout, std::uint32_t height, int pdfMinor,
                                     const std::string &path) {
    if (rows_ != height || !pixels_) {
        failInternal(PDFW_RUNTIME_ERROR, "a large picture was read with " + std::to_string(rows_) +
                                             " of its " + std::to_string(height) + " rows");
    }
    bool indexed = !layout.palette.empty();
    bool predicted = rasterPredicted(layout, indexed);
    std::optional<RasterPlane> alpha;
    if (alpha_ && !(layout.dropOpaqueAlpha && opaque_)) {
        checkRasterAlpha(pdfMinor, path);
        alpha = alpha_->finish(rasterFilter(layout, 1, rasterPredicted(layout, false)));
    }
    RasterPlane pixels = pixels_->finish(rasterFilter(layout, layout.components, predicted));
    RasterImage described = rasterLayout(layout);
    described.height = height;
    described.premultiplied = layout.premultiplied && alpha.has_value();
    return rasterObjects(described, std::move(alpha), std::move(pixels));
}

} // namespace folvane::pdfw
