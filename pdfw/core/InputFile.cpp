#include "pdfw/core/InputFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "pdfw/core/PdfwError.h"

namespace folvane::pdfw {

InputFile::InputFile(const std::string &path) : path_(path) {
    // Opened without waiting: a pipe with no writer or a device would otherwise hold the open
    // forever. Only a regular file is read, so the flag never matters after the check.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd_ < 0) {
        fail(PDFW_IO_ERROR, problemWith(PDFW_PROBLEM_CANNOT_OPEN, path, std::strerror(errno)));
    }
    struct stat info {};
    Problem problem = problemWith(PDFW_PROBLEM_NONE, path);
    if (::fstat(fd_, &info) != 0) {
        problem = problemWith(PDFW_PROBLEM_CANNOT_READ, path, std::strerror(errno));
    } else if (S_ISDIR(info.st_mode)) {
        problem = problemWith(PDFW_PROBLEM_CANNOT_READ, path, "it is a folder");
    } else if (!S_ISREG(info.st_mode)) {
        problem = problemWith(PDFW_PROBLEM_NOT_A_FILE, path);
    }
    if (problem.kind != PDFW_PROBLEM_NONE) {
        ::close(fd_);
        fd_ = -1;
        fail(PDFW_IO_ERROR, std::move(problem));
    }
    size_ = static_cast<std::uint64_t>(info.st_size);
}

InputFile::~InputFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::size_t InputFile::readAt(std::uint64_t offset, void *data, std::size_t size) const {
    auto *bytes = static_cast<unsigned char *>(data);
    std::size_t done = 0;
    while (done < size) {
        ssize_t got = ::pread(fd_, bytes + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(PDFW_IO_ERROR, problemWith(PDFW_PROBLEM_CANNOT_READ, path_, std::strerror(errno)));
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

std::size_t MemorySource::readAt(std::uint64_t offset, void *data, std::size_t size) const {
    if (offset >= size_ || size == 0) {
        return 0;
    }
    std::size_t count = std::min<std::uint64_t>(size, size_ - offset);
    std::memcpy(data, data_ + offset, count);
    return count;
}

void ByteSource::readExactly(std::uint64_t offset, void *data, std::size_t size,
                             const char *what) const {
    if (readAt(offset, data, size) != size) {
        Problem truncated = problemWith(PDFW_PROBLEM_TRUNCATED, path());
        truncated.item = what;
        fail(PDFW_SYNTAX_ERROR, std::move(truncated));
    }
}

} // namespace folvane::pdfw
