// Checked size arithmetic: every size, stride and offset + length that depends on file
// content goes through these helpers instead of plain * and +.
//
// Each helper takes any mix of integer types, rejects negative operands, and returns the
// result as size_t, or std::nullopt when an operand is negative or the exact result does not
// fit in size_t. Use it as
//     auto bytes = SafeSize::Mul(width, height, 4);
//     if (!bytes || *bytes > limit) fail(...);
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <type_traits>
#include <utility>

namespace SafeSize {

template <class T> constexpr bool IsNegative(T value) {
    static_assert(std::is_integral_v<T>, "SafeSize works on integers");
    return std::cmp_less(value, 0);
}

// value as size_t, or nullopt when it is negative or does not fit.
template <class T> constexpr std::optional<size_t> Of(T value) {
    if (IsNegative(value) || !std::in_range<size_t>(value)) {
        return std::nullopt;
    }
    return static_cast<size_t>(value);
}

// a * b * ...
template <class A, class B, class... Rest>
constexpr std::optional<size_t> Mul(A a, B b, Rest... rest) {
    if (IsNegative(a) || IsNegative(b)) {
        return std::nullopt;
    }
    size_t product = 0;
    if (__builtin_mul_overflow(a, b, &product)) {
        return std::nullopt;
    }
    if constexpr (sizeof...(rest) == 0) {
        return product;
    } else {
        return Mul(product, rest...);
    }
}

// a + b + ...
template <class A, class B, class... Rest>
constexpr std::optional<size_t> Add(A a, B b, Rest... rest) {
    if (IsNegative(a) || IsNegative(b)) {
        return std::nullopt;
    }
    size_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        return std::nullopt;
    }
    if constexpr (sizeof...(rest) == 0) {
        return sum;
    } else {
        return Add(sum, rest...);
    }
}

// Bytes of one bitmap row of width pixels at bitsPerPixel, padded to a multiple of 4 bytes:
// ((width * bitsPerPixel + 31) / 32) * 4.
template <class W, class B> constexpr std::optional<size_t> RowStride(W width, B bitsPerPixel) {
    auto bits = Mul(width, bitsPerPixel);
    if (!bits) {
        return std::nullopt;
    }
    auto padded = Add(*bits, 31);
    if (!padded) {
        return std::nullopt;
    }
    return *padded / 32 * 4;
}

// Bytes of one row of width pixels at bitsPerPixel, rounded up to whole bytes, unpadded.
template <class W, class B>
constexpr std::optional<size_t> PackedRowBytes(W width, B bitsPerPixel) {
    auto bits = Mul(width, bitsPerPixel);
    if (!bits) {
        return std::nullopt;
    }
    return *bits / 8 + (*bits % 8 != 0 ? 1 : 0);
}

// True when [offset, offset + length) lies within [0, total), computed without wrapping.
template <class O, class L, class T> constexpr bool FitsWithin(O offset, L length, T total) {
    if (IsNegative(offset) || IsNegative(length) || IsNegative(total)) {
        return false;
    }
    if (std::cmp_greater(offset, total)) {
        return false;
    }
    using U = unsigned long long;
    return static_cast<U>(length) <= static_cast<U>(total) - static_cast<U>(offset);
}

} // namespace SafeSize
