// Whether a crop may be asked of a page, judged before anything is written: the engine's own
// rule (base/CropRule.h), applied to a crop rectangle of the page loop.
#pragma once

#include "base/CropRule.h"
#include "pdf/PageGeneration.h"

namespace folvane {

enum class CropFit {
    Fits,
    OutsideImage, // an edge beyond the picture, or left/top not before right/bottom
    TooSmall,     // inside, but narrower or lower than kMinCropSide
};

// How `crop` fits a picture shown `width` x `height` pixels.
CropFit cropFitOf(const CropRect &crop, int width, int height);

} // namespace folvane
