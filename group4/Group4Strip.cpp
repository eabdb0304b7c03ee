#include "group4/Group4Strip.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "group4/Group4Tiff.h"

namespace folvane::group4 {

namespace {

// A TIFF file growing in memory up to a ceiling, for libtiff's client procedures.
struct MemoryTiff {
    std::vector<unsigned char> bytes;
    std::uint64_t position = 0;
    std::size_t maxBytes = 0;
};

tmsize_t readMemory(thandle_t handle, void *data, tmsize_t size) {
    auto *m = static_cast<MemoryTiff *>(handle);
    if (m->position >= m->bytes.size()) {
        return 0;
    }
    std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(size),
                                          m->bytes.size() - static_cast<std::size_t>(m->position));
    std::memcpy(data, m->bytes.data() + m->position, n);
    m->position += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t writeMemory(thandle_t handle, void *data, tmsize_t size) {
    auto *m = static_cast<MemoryTiff *>(handle);
    if (size < 0 || m->position > m->maxBytes ||
        static_cast<std::uint64_t>(size) > m->maxBytes - m->position) {
        return -1;
    }
    std::size_t end = static_cast<std::size_t>(m->position) + static_cast<std::size_t>(size);
    if (end > m->bytes.size()) {
        m->bytes.resize(end);
    }
    std::memcpy(m->bytes.data() + m->position, data, static_cast<std::size_t>(size));
    m->position = end;
    return size;
}

toff_t seekMemory(thandle_t handle, toff_t offset, int whence) {
    auto *m = static_cast<MemoryTiff *>(handle);
    std::uint64_t base = whence == SEEK_CUR   ? m->position
                         : whence == SEEK_END ? m->bytes.size()
                                              : 0;
    m->position = base + offset;
    return m->position;
}

int closeMemory(thandle_t) {
    return 0;
}

toff_t sizeMemory(thandle_t handle) {
    return static_cast<MemoryTiff *>(handle)->bytes.size();
}

// Writes the page through `out` and finds where its one strip lies; false when libtiff fails.
bool writePage(TIFF *out, const Group4Page &page, const unsigned char *rows, std::size_t size,
               std::uint64_t &offset, std::uint64_t &count) {
    // libtiff takes writable rows but only reads them.
    if (!setGroup4Tags(out, page) ||
        TIFFWriteEncodedStrip(out, 0, const_cast<unsigned char *>(rows),
                              static_cast<tmsize_t>(size)) < 0 ||
        !TIFFWriteDirectory(out) || !TIFFSetDirectory(out, 0)) {
        return false;
    }
    std::uint64_t *offsets = nullptr, *counts = nullptr;
    if (!TIFFGetField(out, TIFFTAG_STRIPOFFSETS, &offsets) ||
        !TIFFGetField(out, TIFFTAG_STRIPBYTECOUNTS, &counts) || !offsets || !counts) {
        return false;
    }
    offset = offsets[0];
    count = counts[0];
    return true;
}

} // namespace

bool encodeStrip(const Group4Page &page, const unsigned char *rows, std::size_t size,
                 std::size_t maxBytes, std::vector<unsigned char> &coded, std::string &error) {
    MemoryTiff memory;
    memory.maxBytes = maxBytes;
    TIFFOpenOptions *options = openOptionsKeepingError(error);
    if (options == nullptr) {
        error = "out of memory";
        return false;
    }
    TIFF *out = TIFFClientOpenExt("memory", "w", &memory, readMemory, writeMemory, seekMemory,
                                  closeMemory, sizeMemory, nullptr, nullptr, options);
    TIFFOpenOptionsFree(options);
    std::uint64_t offset = 0, count = 0;
    bool written = out != nullptr && writePage(out, page, rows, size, offset, count);
    if (out != nullptr) {
        TIFFClose(out);
    }
    if (!written || count == 0 || offset > memory.bytes.size() ||
        count > memory.bytes.size() - offset) {
        if (error.empty()) {
            error = "libtiff wrote no strip";
        }
        return false;
    }
    coded.assign(memory.bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                 memory.bytes.begin() + static_cast<std::ptrdiff_t>(offset + count));
    return true;
}

} // namespace folvane::group4
