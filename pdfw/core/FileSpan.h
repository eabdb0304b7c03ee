// Bytes of an input file that go into the document unchanged: the writer has the kernel copy
// them from the file to the output (copy_file_range), so they never pass through the engine's
// memory and a prepared image waiting to be written holds no buffer for them.
#pragma once

#include <cstdint>
#include <string>

#include "pdfw/core/InputFile.h"

namespace folvane::pdfw {

class FileSpan {
public:
    // `length` bytes of `file` from `offset`, read later through a descriptor of its own (the
    // same open file, whatever happens to the name). PDFW_IO_ERROR when it cannot be had.
    FileSpan(const InputFile &file, std::uint64_t offset, std::uint64_t length);
    // The same over open descriptor `fd` (a file the engine wrote itself), named `path` in
    // messages; `fd` stays the caller's.
    FileSpan(int fd, std::uint64_t offset, std::uint64_t length, std::string path);
    ~FileSpan();
    FileSpan(FileSpan &&other) noexcept;
    FileSpan &operator=(FileSpan &&other) noexcept;
    FileSpan(const FileSpan &) = delete;
    FileSpan &operator=(const FileSpan &) = delete;

    int fd() const { return fd_; }
    std::uint64_t offset() const { return offset_; }
    std::uint64_t length() const { return length_; }
    const std::string &path() const { return path_; }
    // The file still has the size and modification time it had when the span was made, so
    // the bytes copied are the bytes that were checked.
    bool unchanged() const;

private:
    void release();

    int fd_ = -1;
    std::uint64_t offset_ = 0;
    std::uint64_t length_ = 0;
    std::string path_;
    std::int64_t size_ = 0;
    std::int64_t modifiedSeconds_ = 0;
    std::int64_t modifiedNanoseconds_ = 0;
};

} // namespace folvane::pdfw
