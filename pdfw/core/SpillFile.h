// Bytes of a page too large to hold in memory, written as they are made to a file with no name
// (openUnnamedFile) and put into the document later as a span of that file, copied by the
// kernel like an input file's bytes. Move-only; the file goes with the object and its spans.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "pdfw/core/FileSpan.h"

namespace folvane::pdfw {

class SpillFile {
public:
    // A new empty file in `folder`; PDFW_IO_ERROR (the output, step "create") when none can be
    // made there.
    explicit SpillFile(const std::string &folder);
    ~SpillFile();
    SpillFile(SpillFile &&other) noexcept;
    SpillFile &operator=(SpillFile &&other) noexcept;
    SpillFile(const SpillFile &) = delete;
    SpillFile &operator=(const SpillFile &) = delete;

    // Appends the bytes; PDFW_IO_ERROR when the file system refuses them (a full disk).
    void write(const void *data, std::size_t size);
    std::uint64_t size() const { return size_; }
    // Everything written so far, as a span the writer copies.
    FileSpan span() const;

private:
    void release();

    int fd_ = -1;
    std::uint64_t size_ = 0;
    std::string folder_;
};

} // namespace folvane::pdfw
