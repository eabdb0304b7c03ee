#include "pdfw/core/SpillFile.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <utility>

#include "pdfw/core/PdfwError.h"
#include "pdfw/core/UnnamedFile.h"

namespace folvane::pdfw {

namespace {

[[noreturn]] void failSpill(const std::string &folder, const char *step, int error) {
    Problem problem = problemWith(PDFW_PROBLEM_OUTPUT, folder,
                                  std::string("a file for a large page: ") + std::strerror(error));
    problem.item = step;
    fail(PDFW_IO_ERROR, std::move(problem));
}

} // namespace

SpillFile::SpillFile(const std::string &folder) : folder_(folder) {
    fd_ = openUnnamedFile(folder);
    if (fd_ < 0) {
        failSpill(folder, "create", errno);
    }
}

SpillFile::~SpillFile() {
    release();
}

SpillFile::SpillFile(SpillFile &&other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(other.size_), folder_(std::move(other.folder_)) {}

SpillFile &SpillFile::operator=(SpillFile &&other) noexcept {
    if (this != &other) {
        release();
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
        folder_ = std::move(other.folder_);
    }
    return *this;
}

void SpillFile::release() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void SpillFile::write(const void *data, std::size_t size) {
    const auto *bytes = static_cast<const unsigned char *>(data);
    while (size > 0) {
        ssize_t written = ::write(fd_, bytes, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            failSpill(folder_, "write", written < 0 ? errno : EIO);
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
        size_ += static_cast<std::uint64_t>(written);
    }
}

FileSpan SpillFile::span() const {
    return FileSpan(fd_, 0, size_, folder_);
}

} // namespace folvane::pdfw
