#include "pdfw/FlateEncoder.h"

#include <libdeflate.h>

#include "pdfw/PdfwError.h"

namespace pdfw {

Buffer flateCompress(const unsigned char *data, std::size_t size, int level,
                     const MemoryProcs &memory) {
    struct Compressor {
        libdeflate_compressor *handle;
        ~Compressor() { libdeflate_free_compressor(handle); }
    } compressor{libdeflate_alloc_compressor(level)};
    if (!compressor.handle) {
        fail(PDFW_MEMORY_ERROR, "out of memory for the Flate compressor");
    }
    std::size_t bound = libdeflate_zlib_compress_bound(compressor.handle, size);
    Buffer packed(memory, bound, "Flate compression");
    std::size_t packedSize =
        libdeflate_zlib_compress(compressor.handle, data, size, packed.data(), packed.size());
    if (packedSize == 0) {
        fail(PDFW_RUNTIME_ERROR, "Flate compression failed");
    }
    packed.truncate(packedSize);
    return packed;
}

} // namespace pdfw
