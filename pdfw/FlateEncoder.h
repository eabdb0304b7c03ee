// Flate (zlib format) compression of a whole buffer with libdeflate.
#pragma once

#include <cstddef>

#include "pdfw/Memory.h"

namespace pdfw {

// libdeflate levels, measured: on photographs levels 1 to 6 differ by 1-3 % in size while
// the time nearly doubles; on scans and screen-like pictures level 1 misses long repeats that
// level 2 finds at the same speed (10x smaller on a test page). For 1-bit to 4-bit samples
// level 6 costs no more than level 1 and halves the size.
inline constexpr int kFlateLevelContinuous = 2;
inline constexpr int kFlateLevelFewBits = 6;

Buffer flateCompress(const unsigned char *data, std::size_t size, int level,
                     const MemoryProcs &memory);

} // namespace pdfw
