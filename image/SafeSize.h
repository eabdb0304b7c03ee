// Size arithmetic of the image library: the project's checked helpers (base/CheckedSize.h)
// under the names the library uses, and the two bitmap row sizes built on them.
#pragma once

#include <cstddef>
#include <optional>

#include "base/CheckedSize.h"

namespace SafeSize {

using folvane::checked_size::add;
using folvane::checked_size::fitsWithin;
using folvane::checked_size::mul;
using folvane::checked_size::of;

// Bytes of one bitmap row of width pixels at bitsPerPixel, padded to a multiple of 4 bytes:
// ((width * bitsPerPixel + 31) / 32) * 4.
template <class W, class B> constexpr std::optional<size_t> RowStride(W width, B bitsPerPixel) {
    auto bits = mul(width, bitsPerPixel);
    if (!bits) {
        return std::nullopt;
    }
    auto padded = add(*bits, 31);
    if (!padded) {
        return std::nullopt;
    }
    return *padded / 32 * 4;
}

// Bytes of one row of width pixels at bitsPerPixel, rounded up to whole bytes, unpadded.
template <class W, class B>
constexpr std::optional<size_t> PackedRowBytes(W width, B bitsPerPixel) {
    auto bits = mul(width, bitsPerPixel);
    if (!bits) {
        return std::nullopt;
    }
    return *bits / 8 + (*bits % 8 != 0 ? 1 : 0);
}

} // namespace SafeSize
