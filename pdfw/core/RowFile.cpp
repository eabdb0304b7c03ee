#include "pdfw/core/RowFile.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "pdfw/core/PdfwError.h"
#include "pdfw/core/UnnamedFile.h"

namespace folvane::pdfw {

namespace {

// pread or pwrite of all `size` bytes at `offset`.
template <typename Transfer>
bool whole(Transfer transfer, unsigned char *data, std::size_t size, off_t offset) {
    while (size > 0) {
        ssize_t done = transfer(data, size, offset);
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            if (done == 0) {
                errno = EIO;
            }
            return false;
        }
        data += done;
        size -= static_cast<std::size_t>(done);
        offset += done;
    }
    return true;
}

} // namespace

RowFile::RowFile(const std::string &folder, std::size_t rowBytes, std::uint32_t rows)
    : rowBytes_(rowBytes) {
    fd_ = openUnnamedFile(folder);
    if (fd_ < 0 || ::ftruncate(fd_, static_cast<off_t>(rowBytes * rows)) != 0) {
        int error = errno;
        if (fd_ >= 0) {
            ::close(fd_);
        }
        Problem problem =
            problemWith(PDFW_PROBLEM_OUTPUT, folder,
                        std::string("a file for a large page: ") + std::strerror(error));
        problem.item = "create";
        fail(PDFW_IO_ERROR, std::move(problem));
    }
}

RowFile::~RowFile() {
    ::close(fd_);
}

bool RowFile::read(std::uint32_t row, unsigned char *data) const noexcept {
    int fd = fd_;
    return whole([fd](unsigned char *at, std::size_t size,
                      off_t offset) { return ::pread(fd, at, size, offset); },
                 data, rowBytes_, static_cast<off_t>(rowBytes_ * row));
}

bool RowFile::write(std::uint32_t row, const unsigned char *data) noexcept {
    int fd = fd_;
    return whole([fd](unsigned char *at, std::size_t size,
                      off_t offset) { return ::pwrite(fd, at, size, offset); },
                 const_cast<unsigned char *>(data), rowBytes_, static_cast<off_t>(rowBytes_ * row));
}

} // namespace folvane::pdfw
