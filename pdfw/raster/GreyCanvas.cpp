#include "pdfw/raster/GreyCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "pdfw/core/PdfwError.h"
#include "pdfw/raster/RecognitionPixels.h"

namespace folvane::pdfw {

GreyCanvas::GreyCanvas(std::uint32_t width, std::uint32_t height, int dpi,
                       const MemoryProcs &memory)
    : width_(width), height_(height), dpi_(dpi), memory_(memory) {
    const std::uint64_t pixels = std::uint64_t{width} * height;
    while (pixels / (std::uint64_t{factor_} * factor_) > kRecognitionPixels) {
        ++factor_;
    }
    outWidth_ = (width + factor_ - 1) / factor_;
    outHeight_ = (height + factor_ - 1) / factor_;
    grey_ = Buffer(memory, checkedSize({outWidth_, outHeight_}, "the grey picture"), "OCR picture");
    sums_.assign(outWidth_, 0);
}

void GreyCanvas::add(const RasterImage &band, const std::vector<unsigned char> *palette) {
    // A bilevel band is read as two greys here: a reduced page is averaged.
    const bool bilevel =
        band.components == 1 && band.bitsPerComponent == 1 && !palette && band.alpha.size() == 0;
    const std::vector<unsigned char> levels =
        band.inverted ? std::vector<unsigned char>{255, 0} : std::vector<unsigned char>{0, 255};
    PagePixels rows = rasterForRecognition(band, bilevel ? &levels : palette, 1, 0, memory_);
    for (std::uint32_t y = 0; y < band.height; ++y) {
        const unsigned char *row = rows.rows.data() + std::size_t{y} * band.width;
        for (std::uint32_t x = 0; x < width_; ++x) {
            sums_[x / factor_] += row[x];
        }
        ++rowsIn_;
        if (rowsIn_ % factor_ == 0 || rowsIn_ == height_) {
            emitRow();
        }
    }
}

void GreyCanvas::emitRow() {
    std::uint32_t tall = rowsIn_ % factor_ == 0 ? factor_ : rowsIn_ % factor_;
    unsigned char *out = grey_.data() + std::size_t{rowsOut_} * outWidth_;
    for (std::uint32_t x = 0; x < outWidth_; ++x) {
        std::uint32_t wide = std::min(factor_, width_ - x * factor_);
        std::uint32_t count = wide * tall;
        out[x] = static_cast<unsigned char>((sums_[x] + count / 2) / count);
    }
    std::fill(sums_.begin(), sums_.end(), 0);
    ++rowsOut_;
}

PagePixels GreyCanvas::finish(int orientation) {
    if (rowsIn_ != height_) {
        failInternal(PDFW_RUNTIME_ERROR, "a large picture was read for recognition with " +
                                             std::to_string(rowsIn_) + " of its " +
                                             std::to_string(height_) + " rows");
    }
    PagePixels out;
    out.rows = std::move(grey_);
    int dpi = dpi_ > 0 ? std::max(1, static_cast<int>(dpi_ / static_cast<int>(factor_))) : 0;
    out.image = {static_cast<int>(outWidth_),
                 static_cast<int>(outHeight_),
                 8,
                 out.rows.data(),
                 outWidth_,
                 orientation,
                 dpi};
    out.reduction = static_cast<int>(factor_);
    out.storedWidth = static_cast<int>(width_);
    out.storedHeight = static_cast<int>(height_);
    return out;
}

} // namespace folvane::pdfw
