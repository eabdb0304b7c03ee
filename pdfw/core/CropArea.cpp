#include "pdfw/core/CropArea.h"

#include <string>

#include "base/Orientation.h"
#include "pdfw/core/PdfwError.h"
#include "pdfw/pdfw.h"

namespace folvane::pdfw {

static_assert(folvane::kMinCropSide == PDFW_MIN_CROP_SIDE, "one smallest crop, inside and out");

std::optional<folvane::StoredArea> storedCrop(const ImageRequest &request, int orientation,
                                              std::uint32_t width, std::uint32_t height) {
    if (!request.crop) {
        return std::nullopt;
    }
    const CropRequest &c = *request.crop;
    // The crop is of the picture as the page shows it: after the file's orientation, turned.
    orientation = folvane::turnedOrientation(orientation, request.quarterTurns);
    const bool swapped = folvane::swapsAxes(orientation);
    const long long shownWidth = swapped ? height : width;
    const long long shownHeight = swapped ? width : height;
    const folvane::CropFault fault =
        folvane::cropFaultOf(c.left, c.top, c.right, c.bottom, shownWidth, shownHeight);
    if (fault != folvane::CropFault::None) {
        std::string rect = std::to_string(c.left) + "," + std::to_string(c.top) + "," +
                           std::to_string(c.right) + "," + std::to_string(c.bottom);
        std::string why =
            fault == folvane::CropFault::TooSmall
                ? "is smaller than " + std::to_string(folvane::kMinCropSide) + " pixels"
                : "lies outside the picture of " + std::to_string(shownWidth) + " x " +
                      std::to_string(shownHeight) + " pixels";
        Problem bad = problemWith(PDFW_PROBLEM_CALL, request.path,
                                  "the crop " + rect + " of \"" + request.path + "\" " + why);
        fail(PDFW_VALUE_ERROR, std::move(bad));
    }
    return folvane::storedAreaOf(orientation, c.left, c.top, c.right, c.bottom, width, height);
}

} // namespace folvane::pdfw
