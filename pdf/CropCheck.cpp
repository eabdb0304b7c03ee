#include "pdf/CropCheck.h"

#include "pdfw/pdfw.h"

namespace folvane {

static_assert(kMinCropSide == PDFW_MIN_CROP_SIDE, "the engine refuses what is refused here");

CropFit cropFitOf(const CropRect &crop, int width, int height) {
    switch (cropFaultOf(crop.left, crop.top, crop.right, crop.bottom, width, height)) {
    case CropFault::OutsideImage:
        return CropFit::OutsideImage;
    case CropFault::TooSmall:
        return CropFit::TooSmall;
    case CropFault::None:
        break;
    }
    return CropFit::Fits;
}

} // namespace folvane
