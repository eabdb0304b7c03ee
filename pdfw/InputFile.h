// An image file opened for reading by position. Messages name the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pdfw {

class InputFile {
public:
    // Opens `path`; PDFW_IO_ERROR naming the file and the reason when it cannot.
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Reads up to `size` bytes at `offset`; returns how many (fewer only at the end).
    std::size_t readAt(std::uint64_t offset, void* data, std::size_t size) const;
    // Reads exactly `size` bytes at `offset`, else PDFW_SYNTAX_ERROR "truncated" (`what`).
    void readExactly(std::uint64_t offset, void* data, std::size_t size, const char* what) const;

    int fd() const { return fd_; }
    std::uint64_t size() const { return size_; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

} // namespace pdfw
