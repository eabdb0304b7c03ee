#include "pdf/CropCheck.h"

#include "pdfw/pdfw.h"

namespace folvane {

static_assert(kMinCropSide == PDFW_MIN_CROP_SIDE, "the engine refuses what is refused here");

CropFit cropFitOf(const CropRect &crop, int width, int height) {
    if (crop.left < 0 || crop.top < 0 || crop.right > width || crop.bottom > height ||
        crop.left >= crop.right || crop.top >= crop.bottom) {
        return CropFit::OutsideImage;
    }
    if (crop.right - crop.left < kMinCropSide || crop.bottom - crop.top < kMinCropSide) {
        return CropFit::TooSmall;
    }
    return CropFit::Fits;
}

} // namespace folvane
