// Large buffers of the engine, taken from the context's memory procedures, and the one
// checked helper through which every size derived from a file passes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "pdfw/pdfw.h"

namespace folvane::pdfw {

// The largest single buffer the engine allocates for one picture (decoded pixels or their
// compressed form): 256 MiB, the image library's ceiling too. A 600-dpi A4 colour scan needs
// 139 MiB as RGBA and a 16-megapixel photo 64 MiB; a few hundred bytes of hostile TIFF claiming
// 160 million pixels must not cost a gigabyte.
inline constexpr std::size_t kMaxBufferBytes = std::size_t{1} << 28;

// The product of `factors` (checked by the project's base/CheckedSize.h), or a
// PDFW_OVERFLOW_ERROR naming `what` when it wraps or exceeds kMaxBufferBytes.
std::size_t checkedSize(std::initializer_list<std::uint64_t> factors, const std::string &what);

struct MemoryProcs {
    pdfw_context *context = nullptr;
    pdfw_alloc_proc alloc = nullptr;
    pdfw_free_proc free = nullptr;
};

// One block of memory owned by this object, zero-filled, so that bytes a decoder leaves
// unwritten (the padding bits at the end of a row, say) never carry old memory into the
// document. Move-only. Without the caller's procedures, blocks
// of kMapThreshold bytes or more are mapped from the system and unmapped on release, so the
// process's peak memory does not creep up with the page count through heap fragmentation.
class Buffer {
public:
    Buffer() = default;
    Buffer(const MemoryProcs &procs, std::size_t size, const char *caller);
    Buffer(Buffer &&other) noexcept;
    Buffer &operator=(Buffer &&other) noexcept;
    Buffer(const Buffer &) = delete;
    Buffer &operator=(const Buffer &) = delete;
    ~Buffer();

    unsigned char *data() { return data_; }
    const unsigned char *data() const { return data_; }
    std::size_t size() const { return size_; }
    // Shrinks the logical size (the block keeps its capacity).
    void truncate(std::size_t size) {
        if (size < size_) {
            size_ = size;
        }
    }

private:
    void release();

    MemoryProcs procs_;
    unsigned char *data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t mapped_ = 0; // length of the mapping when data_ was mapped, else 0
};

inline constexpr std::size_t kMapThreshold = std::size_t{1} << 20;

} // namespace folvane::pdfw
