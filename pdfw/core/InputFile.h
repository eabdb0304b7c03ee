// Bytes read by position: an image file opened for reading, or bytes in memory. Messages
// name the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

namespace folvane::pdfw {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to `size` bytes at `offset`; returns how many (fewer only at the end).
    virtual std::size_t readAt(std::uint64_t offset, void *data, std::size_t size) const = 0;
    virtual std::uint64_t size() const = 0;
    virtual const std::string &path() const = 0;
    // All bytes, when they are in memory; else null.
    virtual const unsigned char *bytes() const { return nullptr; }
    // Reads exactly `size` bytes at `offset`, else PDFW_SYNTAX_ERROR "truncated" (`what`).
    void readExactly(std::uint64_t offset, void *data, std::size_t size, const char *what) const;
};

// Bytes held elsewhere (not owned), named after the file they came from.
class MemorySource : public ByteSource {
public:
    MemorySource(const unsigned char *data, std::size_t size, std::string path)
        : data_(data), size_(size), path_(std::move(path)) {}
    std::size_t readAt(std::uint64_t offset, void *data, std::size_t size) const override;
    std::uint64_t size() const override { return size_; }
    const std::string &path() const override { return path_; }
    const unsigned char *bytes() const override { return data_; }

private:
    const unsigned char *data_;
    std::size_t size_;
    std::string path_;
};

class InputFile : public ByteSource {
public:
    // Opens `path`; PDFW_IO_ERROR naming the file and the reason when it cannot.
    explicit InputFile(const std::string &path);
    ~InputFile() override;
    InputFile(const InputFile &) = delete;
    InputFile &operator=(const InputFile &) = delete;

    std::size_t readAt(std::uint64_t offset, void *data, std::size_t size) const override;
    std::uint64_t size() const override { return size_; }
    const std::string &path() const override { return path_; }
    int fd() const { return fd_; }

private:
    std::string path_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

} // namespace folvane::pdfw
