// Flate (zlib format) compression of a whole buffer with libdeflate.
#pragma once

#include <cstddef>

#include "pdfw/Memory.h"

namespace pdfw {

// libdeflate's level for image data: its fast levels compress scans and photos nearly as
// well as the slow ones at several times the speed.
inline constexpr int kFlateLevel = 3;

Buffer flateCompress(const unsigned char *data, std::size_t size, const MemoryProcs &memory);

} // namespace pdfw
