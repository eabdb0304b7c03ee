#include "pdfw/raster/Group4Encoder.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>

#include <tiffio.h>

#include "pdfw/core/Memory.h"
#include "pdfw/core/PdfwError.h"

namespace pdfw {

namespace {

// A TIFF file growing in memory, for libtiff's client procedures.
struct MemoryTiff {
    std::vector<unsigned char> bytes;
    std::uint64_t position = 0;
    char error[512] = "";
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
    std::size_t end = static_cast<std::size_t>(m->position) + static_cast<std::size_t>(size);
    if (end > kMaxBufferBytes) {
        return -1;
    }
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

int keepError(TIFF *, void *user, const char *module, const char *format, va_list args) {
    auto *m = static_cast<MemoryTiff *>(user);
    if (m->error[0] == '\0') {
        int used = std::snprintf(m->error, sizeof m->error, "%s: ", module ? module : "libtiff");
        if (used > 0 && static_cast<std::size_t>(used) < sizeof m->error) {
            std::vsnprintf(m->error + used, sizeof m->error - static_cast<std::size_t>(used),
                           format, args);
        }
    }
    return 1;
}

int ignoreWarning(TIFF *, void *, const char *, const char *, va_list) {
    return 1;
}

} // namespace

std::vector<unsigned char> encodeGroup4(std::uint32_t width, std::uint32_t height, int photometric,
                                        unsigned char *rows, std::size_t size,
                                        const std::string &path) {
    MemoryTiff memory;
    TIFFOpenOptions *options = TIFFOpenOptionsAlloc();
    if (!options) {
        fail(PDFW_MEMORY_ERROR, problemWith(PDFW_PROBLEM_MEMORY, path));
    }
    TIFFOpenOptionsSetErrorHandlerExtR(options, keepError, &memory);
    TIFFOpenOptionsSetWarningHandlerExtR(options, ignoreWarning, nullptr);
    TIFF *out = TIFFClientOpenExt("memory", "w", &memory, readMemory, writeMemory, seekMemory,
                                  closeMemory, sizeMemory, nullptr, nullptr, options);
    TIFFOpenOptionsFree(options);
    bool written = out != nullptr;
    std::uint64_t offset = 0, count = 0;
    if (out) {
        TIFFSetField(out, TIFFTAG_IMAGEWIDTH, width);
        TIFFSetField(out, TIFFTAG_IMAGELENGTH, height);
        TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 1);
        TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(out, TIFFTAG_PHOTOMETRIC, photometric);
        TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
        TIFFSetField(out, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
        TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, height);
        written = TIFFWriteEncodedStrip(out, 0, rows, static_cast<tmsize_t>(size)) >= 0 &&
                  TIFFWriteDirectory(out);
        std::uint64_t *offsets = nullptr, *counts = nullptr;
        if (written && TIFFSetDirectory(out, 0) &&
            TIFFGetField(out, TIFFTAG_STRIPOFFSETS, &offsets) &&
            TIFFGetField(out, TIFFTAG_STRIPBYTECOUNTS, &counts) && offsets && counts) {
            offset = offsets[0];
            count = counts[0];
        }
        TIFFClose(out);
    }
    if (!written || count == 0 || offset + count > memory.bytes.size()) {
        fail(PDFW_RUNTIME_ERROR, problemWith(PDFW_PROBLEM_INTERNAL, path,
                                             "\"" + path + "\": cannot encode it as Group 4 (" +
                                                 std::string(memory.error) + ")"));
    }
    return {memory.bytes.begin() + static_cast<std::ptrdiff_t>(offset),
            memory.bytes.begin() + static_cast<std::ptrdiff_t>(offset + count)};
}

} // namespace pdfw
