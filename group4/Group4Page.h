// What a Group 4 page is: its size in pixels, what a set bit means and, optionally, its
// resolution. Its rows are (width + 7) / 8 bytes each, the leftmost pixel in the highest bit.
#pragma once

#include <cstdint>

namespace folvane::group4 {

enum class SetBit {
    Black, // min-is-white: SANE's line art, and ink
    White, // min-is-black
};

struct Group4Page {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    SetBit setBit = SetBit::Black;
    // Dots per inch, written as the resolution tags when both are above 0.
    float xDpi = 0;
    float yDpi = 0;
};

} // namespace folvane::group4
