// Colour of the four samples libjpeg delivers for a CMYK or YCCK file, shared by the full and
// the reduced JPEG decode so that both show such files alike.
#pragma once

#include <cstddef>
#include <cstdint>

// The samples as delivered, blue, green and red each scaled by the fourth. Writes whole pixels
// of three bytes into dest while they fit in `room` bytes; returns the bytes written.
inline size_t cmykRowToBgr(const uint8_t *row, size_t rowLength, uint8_t *dest, size_t room) {
    size_t d = 0;
    for (size_t s = 0; s + 3 < rowLength && d + 2 < room; s += 4, d += 3) {
        const unsigned k = row[s + 3];
        dest[d] = static_cast<uint8_t>(row[s + 2] * k / 255);
        dest[d + 1] = static_cast<uint8_t>(row[s + 1] * k / 255);
        dest[d + 2] = static_cast<uint8_t>(row[s] * k / 255);
    }
    return d;
}
