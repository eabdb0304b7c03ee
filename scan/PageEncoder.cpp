#include "scan/PageEncoder.h"

#include "scan/PngPageWriter.h"
#include "scan/TiffPageWriter.h"

namespace folvane::scan {

std::unique_ptr<PageEncoder> makeEncoder(const FrameLayout &layout, uint32_t height,
                                         Resolution resolution, int fd) {
    if (layout.format == PageFormat::Tiff) {
        return std::make_unique<TiffPageWriter>(layout, height, resolution, fd);
    }
    return std::make_unique<PngPageWriter>(layout, height, resolution, fd);
}

} // namespace folvane::scan
