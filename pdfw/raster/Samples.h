// Reading one sample of a decoded picture's row as an 8-bit value, whatever its depth.
#pragma once

#include <cstddef>

namespace folvane::pdfw {

// Sample `index` of `row`, whose samples are `bits` bits each (1, 2, 4, 8 or 16, big-endian),
// scaled to 0..255 (a 16-bit sample gives its high byte).
inline unsigned sampleAt(const unsigned char *row, std::size_t index, int bits) {
    switch (bits) {
    case 16:
        return row[2 * index];
    case 8:
        return row[index];
    default: {
        std::size_t bit = index * bits;
        unsigned byte = row[bit / 8];
        unsigned shift = 8 - bits - bit % 8;
        unsigned value = (byte >> shift) & ((1u << bits) - 1);
        return value * 255u / ((1u << bits) - 1);
    }
    }
}

// The palette index of pixel `x` of `row`, indices of `bits` bits (1, 2, 4 or 8).
inline unsigned indexAt(const unsigned char *row, std::size_t x, int bits) {
    if (bits == 8) {
        return row[x];
    }
    std::size_t bit = x * bits;
    return (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
}

} // namespace folvane::pdfw
