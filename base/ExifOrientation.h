// The orientation of a picture as the Orientation tag (0x0112) of an EXIF block states it:
// the one reading the preview and the PDF engine share, so that both turn a picture alike.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "base/ByteOrder.h"

namespace folvane {

// `tiff` points at the TIFF header that follows "Exif\0\0" in a JPEG's APP1 segment, `size`
// bytes long. Returns the orientation 1..8 that the first directory (IFD0) gives as one SHORT
// value, or 0 when the block is damaged, the tag is absent or malformed, or its value lies
// outside 1..8; callers take 0 as upright. Later directories (the thumbnail's) do not count.
inline int exifOrientation(const uint8_t *tiff, size_t size) {
    constexpr uint16_t kOrientationTag = 0x0112;
    constexpr uint16_t kShort = 3;
    folvane::byte_order::Endian order;
    if (size < 8 || !folvane::byte_order::Endian::fromMarker(tiff, order) ||
        order.u16(tiff + 2) != 42) {
        return 0;
    }
    // A first-directory offset inside the header itself means the usual place right after it.
    const uint32_t directory = std::max<uint32_t>(order.u32(tiff + 4), 8);
    if (directory > size || size - directory < 2) {
        return 0;
    }
    const unsigned count = order.u16(tiff + directory);
    for (unsigned i = 0; i < count; ++i) {
        const size_t entry = directory + 2 + size_t{12} * i;
        if (entry + 12 > size) {
            return 0;
        }
        if (order.u16(tiff + entry) != kOrientationTag) {
            continue;
        }
        if (order.u16(tiff + entry + 2) != kShort || order.u32(tiff + entry + 4) != 1) {
            return 0;
        }
        const unsigned value = order.u16(tiff + entry + 8);
        return value >= 1 && value <= 8 ? static_cast<int>(value) : 0;
    }
    return 0;
}

} // namespace folvane
