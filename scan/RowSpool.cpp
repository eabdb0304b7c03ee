#include "scan/RowSpool.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace folvane::scan {

namespace {

// An unnamed file in `folder`: O_TMPFILE where the file system has it, else a named one
// removed at once.
int unnamedFile(const std::string &folder) {
    int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) {
        return fd;
    }
    std::string name = folder + "/.rows-XXXXXX";
    fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd >= 0) {
        ::unlink(name.c_str());
    }
    return fd;
}

} // namespace

RowSpool::RowSpool(const std::string &folder, std::size_t rowBytes) : rowBytes_(rowBytes) {
    const int fd = unnamedFile(folder);
    file_ = fd < 0 ? nullptr : ::fdopen(fd, "w+b");
    if (file_ == nullptr) {
        const int error = errno;
        if (fd >= 0) {
            ::close(fd);
        }
        throw PageWriteError(std::string("cannot hold the page's rows in ") + folder + ": " +
                             std::strerror(error));
    }
}

RowSpool::~RowSpool() {
    std::fclose(file_);
}

void RowSpool::append(const uint8_t *row) {
    if (std::fwrite(row, 1, rowBytes_, file_) != rowBytes_) {
        throw PageWriteError(std::strerror(errno));
    }
    ++rows_;
}

void RowSpool::replayInto(PageEncoder &encoder, uint8_t *buffer) {
    if (std::fflush(file_) != 0 || std::fseek(file_, 0, SEEK_SET) != 0) {
        throw PageWriteError(std::strerror(errno));
    }
    for (int64_t i = 0; i < rows_; ++i) {
        if (std::fread(buffer, 1, rowBytes_, file_) != rowBytes_) {
            throw PageWriteError("cannot read back the page's rows");
        }
        encoder.writeRow(buffer);
    }
}

} // namespace folvane::scan
