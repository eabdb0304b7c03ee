// Flate (zlib format) compression of a whole buffer with libdeflate.
#pragma once

#include <cstddef>

#include "pdfw/Memory.h"

namespace pdfw {

// libdeflate levels, measured on photographs and scans: for continuous-tone samples the
// higher levels gain 1-3 % in size at up to twice the time, so the fastest level serves; for
// 1-bit to 4-bit samples level 6 costs no more than level 1 and halves the size.
inline constexpr int kFlateLevelContinuous = 1;
inline constexpr int kFlateLevelFewBits = 6;

Buffer flateCompress(const unsigned char *data, std::size_t size, int level,
                     const MemoryProcs &memory);

} // namespace pdfw
