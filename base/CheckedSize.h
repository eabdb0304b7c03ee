// The one overflow-checked size arithmetic of the project: every size, stride and offset +
// length that depends on file content goes through these helpers instead of plain * and +.
// Header-only and free of any dependency, so that the image library and the PDF engine share
// it without depending on each other; each keeps only its own ceiling and failure on top.
//
// Each helper takes any mix of integer types, rejects negative operands, and returns the
// result as size_t, or std::nullopt when an operand is negative or the exact result does not
// fit in size_t. Use it as
//     auto bytes = folvane::checked_size::mul(width, height, 4);
//     if (!bytes || *bytes > limit) fail(...);
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <type_traits>
#include <utility>

namespace folvane::checked_size {

template <class T> constexpr bool isNegative(T value) {
    static_assert(std::is_integral_v<T>, "checked_size works on integers");
    return std::cmp_less(value, 0);
}

// value as size_t, or nullopt when it is negative or does not fit.
template <class T> constexpr std::optional<size_t> of(T value) {
    if (isNegative(value) || !std::in_range<size_t>(value)) {
        return std::nullopt;
    }
    return static_cast<size_t>(value);
}

// a * b * ...
template <class A, class B, class... Rest>
constexpr std::optional<size_t> mul(A a, B b, Rest... rest) {
    if (isNegative(a) || isNegative(b)) {
        return std::nullopt;
    }
    size_t product = 0;
    if (__builtin_mul_overflow(a, b, &product)) {
        return std::nullopt;
    }
    if constexpr (sizeof...(rest) == 0) {
        return product;
    } else {
        return mul(product, rest...);
    }
}

// a + b + ...
template <class A, class B, class... Rest>
constexpr std::optional<size_t> add(A a, B b, Rest... rest) {
    if (isNegative(a) || isNegative(b)) {
        return std::nullopt;
    }
    size_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        return std::nullopt;
    }
    if constexpr (sizeof...(rest) == 0) {
        return sum;
    } else {
        return add(sum, rest...);
    }
}

// True when [offset, offset + length) lies within [0, total), computed without wrapping.
template <class O, class L, class T> constexpr bool fitsWithin(O offset, L length, T total) {
    if (isNegative(offset) || isNegative(length) || isNegative(total)) {
        return false;
    }
    if (std::cmp_greater(offset, total)) {
        return false;
    }
    using U = unsigned long long;
    return static_cast<U>(length) <= static_cast<U>(total) - static_cast<U>(offset);
}

} // namespace folvane::checked_size
