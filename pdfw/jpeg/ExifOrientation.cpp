#include "pdfw/jpeg/ExifOrientation.h"

#include "base/ExifOrientation.h"

namespace folvane::pdfw {

int exifOrientation(const unsigned char *tiff, std::size_t size) {
    // The preview reads the same function, so the page and the preview turn a photo alike.
    const int orientation = folvane::exifOrientation(tiff, size);
    return orientation == 0 ? 1 : orientation;
}

} // namespace folvane::pdfw
