#include "pdfw/raster/FlateEncoder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include <libdeflate.h>

#include "pdfw/core/PdfwError.h"

namespace folvane::pdfw {

namespace {

// The size of a filtered byte taken as a signed difference: the usual measure of how well a
// predictor did on a row.
inline unsigned magnitude(unsigned char d) {
    return d < 128 ? d : 256u - d;
}

} // namespace

void pngPredictRow(const unsigned char *row, const unsigned char *above, std::size_t rowBytes,
                   std::size_t pixelBytes, unsigned char *out) {
    enum : unsigned char { kNone = 0, kSub = 1, kUp = 2 };
    const std::size_t lead = std::min(pixelBytes, rowBytes); // bytes without a left neighbour
    std::uint64_t none = 0, sub = 0, up = UINT64_MAX;
    for (std::size_t i = 0; i < rowBytes; ++i) {
        none += magnitude(row[i]);
    }
    for (std::size_t i = 0; i < lead; ++i) {
        sub += magnitude(row[i]);
    }
    for (std::size_t i = lead; i < rowBytes; ++i) {
        sub += magnitude(static_cast<unsigned char>(row[i] - row[i - pixelBytes]));
    }
    if (above) {
        up = 0;
        for (std::size_t i = 0; i < rowBytes; ++i) {
            up += magnitude(static_cast<unsigned char>(row[i] - above[i]));
        }
    }
    unsigned char *samples = out + 1;
    if (none <= sub && none <= up) {
        out[0] = kNone;
        std::memcpy(samples, row, rowBytes);
    } else if (up <= sub) {
        out[0] = kUp;
        for (std::size_t i = 0; i < rowBytes; ++i) {
            samples[i] = static_cast<unsigned char>(row[i] - above[i]);
        }
    } else {
        out[0] = kSub;
        std::memcpy(samples, row, lead);
        for (std::size_t i = lead; i < rowBytes; ++i) {
            samples[i] = static_cast<unsigned char>(row[i] - row[i - pixelBytes]);
        }
    }
}

Buffer pngPredictRows(const unsigned char *data, std::size_t rowBytes, std::size_t rows,
                      std::size_t pixelBytes, const MemoryProcs &memory) {
    const std::size_t taggedBytes = rowBytes + 1;
    Buffer filtered(memory, checkedSize({taggedBytes, rows}, "predicted rows"), "PNG predictor");
    unsigned char *out = filtered.data();
    for (std::size_t y = 0; y < rows; ++y, out += taggedBytes) {
        const unsigned char *row = data + y * rowBytes;
        pngPredictRow(row, y > 0 ? row - rowBytes : nullptr, rowBytes, pixelBytes, out);
    }
    return filtered;
}

Buffer flateCompress(const unsigned char *data, std::size_t size, int level,
                     const MemoryProcs &memory) {
    struct Compressor {
        libdeflate_compressor *handle;
        ~Compressor() { libdeflate_free_compressor(handle); }
    } compressor{libdeflate_alloc_compressor(level)};
    if (!compressor.handle) {
        Problem memory = problemWith(PDFW_PROBLEM_MEMORY, "");
        memory.item = "the Flate compressor";
        fail(PDFW_MEMORY_ERROR, std::move(memory));
    }
    std::size_t bound = libdeflate_zlib_compress_bound(compressor.handle, size);
    Buffer packed(memory, bound, "Flate compression");
    std::size_t packedSize =
        libdeflate_zlib_compress(compressor.handle, data, size, packed.data(), packed.size());
    if (packedSize == 0) {
        fail(PDFW_RUNTIME_ERROR,
             problemWith(PDFW_PROBLEM_INTERNAL, "", "Flate compression failed"));
    }
    packed.truncate(packedSize);
    return packed;
}

} // namespace folvane::pdfw
