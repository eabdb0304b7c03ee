// Where a page's crop lies in its stored picture.
#pragma once

#include <cstdint>
#include <optional>

#include "base/CropRule.h"
#include "pdfw/core/ImageRequest.h"

namespace folvane::pdfw {

// The stored pixels that `request.crop` keeps of a picture stored `width` x `height`, shown
// upright by `orientation` and then turned by `request.quarterTurns`; none without a crop. A crop
// outside the shown picture or smaller than folvane::kMinCropSide raises PDFW_VALUE_ERROR naming
// the file.
std::optional<folvane::StoredArea> storedCrop(const ImageRequest &request, int orientation,
                                              std::uint32_t width, std::uint32_t height);

} // namespace folvane::pdfw
