#include "pdfw/core/Memory.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>

#include <sys/mman.h>

#include "base/CheckedSize.h"
#include "pdfw/core/PdfwError.h"

namespace folvane::pdfw {

std::size_t checkedSize(std::initializer_list<std::uint64_t> factors, const std::string &what) {
    std::optional<std::size_t> total = 1;
    for (std::uint64_t factor : factors) {
        total = folvane::checked_size::mul(*total, factor);
        if (!total || *total > kMaxBufferBytes) {
            Problem tooLarge = problemWith(PDFW_PROBLEM_TOO_LARGE, "");
            tooLarge.item = what;
            tooLarge.numbers[0] = static_cast<long long>(kMaxBufferBytes);
            fail(PDFW_OVERFLOW_ERROR, std::move(tooLarge));
        }
    }
    return *total;
}

Buffer::Buffer(const MemoryProcs &procs, std::size_t size, const char *caller)
    : procs_(procs), size_(size) {
    std::size_t bytes = size == 0 ? 1 : size;
    void *block = nullptr;
    if (procs_.alloc) {
        block = procs_.alloc(procs_.context, bytes, caller);
        if (block) {
            std::memset(block, 0, bytes);
        }
    } else if (bytes >= kMapThreshold) {
        block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (block == MAP_FAILED) {
            block = nullptr;
        } else {
            mapped_ = bytes;
        }
    } else {
        block = std::calloc(1, bytes);
    }
    if (!block) {
        size_ = 0;
        Problem memory = problemWith(PDFW_PROBLEM_MEMORY, "");
        memory.item = caller;
        memory.numbers[0] = static_cast<long long>(size);
        fail(PDFW_MEMORY_ERROR, std::move(memory));
    }
    data_ = static_cast<unsigned char *>(block);
}

Buffer::Buffer(Buffer &&other) noexcept
    : procs_(other.procs_), data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)), mapped_(std::exchange(other.mapped_, 0)) {}

Buffer &Buffer::operator=(Buffer &&other) noexcept {
    if (this != &other) {
        release();
        procs_ = other.procs_;
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        mapped_ = std::exchange(other.mapped_, 0);
    }
    return *this;
}

Buffer::~Buffer() {
    release();
}

void Buffer::release() {
    if (!data_) {
        return;
    }
    if (procs_.free) {
        procs_.free(procs_.context, data_);
    } else if (mapped_ != 0) {
        munmap(data_, mapped_);
    } else {
        std::free(data_);
    }
    data_ = nullptr;
    size_ = 0;
    mapped_ = 0;
}

} // namespace folvane::pdfw
