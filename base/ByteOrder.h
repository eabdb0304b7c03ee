// Reading 16- and 32-bit numbers from bytes in a stated byte order: little-endian (BMP, ICO,
// the 16-bit samples libtiff delivers), big-endian (JPEG segments, PNG) and the order a TIFF or
// EXIF block declares in its first two bytes ("II" or "MM"). The caller makes sure the bytes
// are there.
#pragma once

#include <cstdint>

namespace folvane::byte_order {

inline uint16_t le16(const uint8_t *p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

inline uint32_t le32(const uint8_t *p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

inline uint16_t be16(const uint8_t *p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

inline uint32_t be32(const uint8_t *p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
}

// The order of a TIFF-structured block.
struct Endian {
    bool big = false;

    // The order the block's first two bytes name; false when they name none.
    static bool fromMarker(const uint8_t *p, Endian &endian) {
        if (p[0] == 'I' && p[1] == 'I') {
            endian.big = false;
            return true;
        }
        if (p[0] == 'M' && p[1] == 'M') {
            endian.big = true;
            return true;
        }
        return false;
    }

    uint16_t u16(const uint8_t *p) const { return big ? be16(p) : le16(p); }
    uint32_t u32(const uint8_t *p) const { return big ? be32(p) : le32(p); }
};

} // namespace folvane::byte_order
