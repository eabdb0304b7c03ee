// Rewrites an arithmetic-coded JPEG with Huffman coding, keeping every DCT coefficient: the
// picture is unchanged, only its entropy coding differs.
#pragma once

#include <cstddef>

#include "pdfw/Memory.h"

namespace pdfw {

// The Huffman-coded JPEG for `data`. Raises PDFW_SYNTAX_ERROR naming `path` when libjpeg
// finds the data corrupt (warnings included), PDFW_MEMORY_ERROR when memory runs out.
Buffer transcodeToHuffman(const unsigned char *data, std::size_t size, const std::string &path,
                          const MemoryProcs &memory);

} // namespace pdfw
