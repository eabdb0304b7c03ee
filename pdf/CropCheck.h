// Whether a crop may be asked of a page, judged before anything is written: inside the picture
// as the page shows it and at least kMinCropSide pixels each way, as the engine requires.
#pragma once

#include "pdf/PageGeneration.h"

namespace folvane {

inline constexpr int kMinCropSide = 16;

enum class CropFit {
    Fits,
    OutsideImage, // an edge beyond the picture, or left/top not before right/bottom
    TooSmall,     // inside, but narrower or lower than kMinCropSide
};

// How `crop` fits a picture shown `width` x `height` pixels.
CropFit cropFitOf(const CropRect &crop, int width, int height);

} // namespace folvane
