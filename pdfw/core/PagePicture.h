// A page's picture as 8-bit grey or RGB pixels in its stored orientation, with what is known of
// where it came from: what document correction reads.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pdfw/core/Memory.h"

namespace folvane::pdfw {

struct PagePicture {
    enum class Source { Unknown, Photo, Scan };

    Buffer rows;             // top first, `stride` bytes a row, `channels` bytes a pixel
    std::uint32_t width = 0; // stored pixels
    std::uint32_t height = 0;
    int channels = 1; // 1 grey (0 black), 3 RGB
    std::size_t stride = 0;
    int orientation = 1; // 1..8, how the stored rows are shown upright
    int dpi = 0;         // as the file states it; 0 when unknown or meaningless
    Source source = Source::Unknown;
};

} // namespace folvane::pdfw
