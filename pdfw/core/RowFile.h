// Rows of a picture put together out of order (the passes of an interlaced PNG), kept in a file
// with no name instead of memory: each row is read, completed and written back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace folvane::pdfw {

class RowFile {
public:
    // `rows` rows of `rowBytes` zero bytes in `folder`; PDFW_IO_ERROR when the file cannot be
    // made.
    RowFile(const std::string &folder, std::size_t rowBytes, std::uint32_t rows);
    ~RowFile();
    RowFile(const RowFile &) = delete;
    RowFile &operator=(const RowFile &) = delete;

    // Never throw, for frames a longjmp may cross: false with errno set on failure.
    bool read(std::uint32_t row, unsigned char *data) const noexcept;
    bool write(std::uint32_t row, const unsigned char *data) noexcept;
    std::size_t rowBytes() const { return rowBytes_; }

private:
    int fd_ = -1;
    std::size_t rowBytes_;
};

} // namespace folvane::pdfw
