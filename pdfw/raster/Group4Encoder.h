// Bilevel rows encoded as CCITT Group 4, by the group4 library that scanning uses too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace folvane::pdfw {

// The Group 4 data (most significant bit first, one strip) of `rows`: `height` rows of
// (width + 7) / 8 bytes, `size` bytes in all, whose bits mean what `photometric` says
// (PHOTOMETRIC_MINISWHITE: 1 is black). Raises PDFW_RUNTIME_ERROR naming `path` when libtiff
// cannot encode them.
std::vector<unsigned char> encodeGroup4(std::uint32_t width, std::uint32_t height, int photometric,
                                        unsigned char *rows, std::size_t size,
                                        const std::string &path);

} // namespace folvane::pdfw
