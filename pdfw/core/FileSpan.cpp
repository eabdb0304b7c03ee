#include "pdfw/core/FileSpan.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "pdfw/core/PdfwError.h"

namespace folvane::pdfw {

FileSpan::FileSpan(const InputFile &file, std::uint64_t offset, std::uint64_t length)
    : FileSpan(file.fd(), offset, length, file.path()) {}

FileSpan::FileSpan(int fd, std::uint64_t offset, std::uint64_t length, std::string path)
    : offset_(offset), length_(length), path_(std::move(path)) {
    fd_ = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0) {
        int error = errno;
        release();
        fail(PDFW_IO_ERROR, problemWith(PDFW_PROBLEM_CANNOT_READ, path_, std::strerror(error)));
    }
    size_ = info.st_size;
    modifiedSeconds_ = info.st_mtim.tv_sec;
    modifiedNanoseconds_ = info.st_mtim.tv_nsec;
}

FileSpan::~FileSpan() {
    release();
}

FileSpan::FileSpan(FileSpan &&other) noexcept
    : fd_(std::exchange(other.fd_, -1)), offset_(other.offset_), length_(other.length_),
      path_(std::move(other.path_)), size_(other.size_), modifiedSeconds_(other.modifiedSeconds_),
      modifiedNanoseconds_(other.modifiedNanoseconds_) {}

FileSpan &FileSpan::operator=(FileSpan &&other) noexcept {
    if (this != &other) {
        release();
        fd_ = std::exchange(other.fd_, -1);
        offset_ = other.offset_;
        length_ = other.length_;
        path_ = std::move(other.path_);
        size_ = other.size_;
        modifiedSeconds_ = other.modifiedSeconds_;
        modifiedNanoseconds_ = other.modifiedNanoseconds_;
    }
    return *this;
}

void FileSpan::release() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool FileSpan::unchanged() const {
    struct stat info {};
    return ::fstat(fd_, &info) == 0 && info.st_size == size_ &&
           info.st_mtim.tv_sec == modifiedSeconds_ && info.st_mtim.tv_nsec == modifiedNanoseconds_;
}

} // namespace folvane::pdfw
