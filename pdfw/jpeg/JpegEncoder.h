// 8-bit pixels compressed as a baseline JPEG with libjpeg, in memory: the colour behind a
// corrected page's ink.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pdfw/core/Memory.h"

namespace folvane::pdfw {

// The JPEG file of `height` rows of `width` pixels of `channels` bytes (1 grey, 3 RGB), `stride`
// bytes a row, at `quality` (1 to 100), 4:2:0 for colour. Raises PDFW_MEMORY_ERROR when
// memory runs out and PDFW_RUNTIME_ERROR when libjpeg refuses the picture.
Buffer encodeJpeg(const unsigned char *pixels, std::uint32_t width, std::uint32_t height,
                  int channels, std::size_t stride, int quality, const MemoryProcs &memory);

} // namespace folvane::pdfw
