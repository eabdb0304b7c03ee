// Ceilings on what a picture may ask the library to allocate, and the working sizes it uses.
#pragma once

#include <cstdint>

namespace folvane::correction {

// The largest picture accepted: 64 megapixels, each side at most 65535 pixels. Its upright
// RGB copy is the largest buffer the library makes (192 MB).
constexpr int64_t kMaxPixels = 64LL * 1000 * 1000;
constexpr int kMaxSide = 65535;

// The corrected page's long side: 300 dpi for A4 (and for pages of unknown size).
constexpr int kMaxPageLongSide = 3508;
constexpr double kMaxDpi = 300;

// The reduced copy the sheet is searched on has at most this long side.
constexpr int kSearchLongSide = 640;
// Below this short side (in the reduced copy) there is nothing to search.
constexpr int kMinSearchSide = 24;

} // namespace folvane::correction
