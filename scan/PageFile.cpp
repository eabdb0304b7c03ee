#include "scan/PageFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "scan/PageEncoder.h"

namespace folvane::scan {

namespace {

// Renames without replacing; where the file system cannot promise that (renameat2 unsupported),
// checks first.
bool renameNoReplace(const std::string &from, const std::string &to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    if (::access(to.c_str(), F_OK) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

void syncFolder(const std::string &folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        // Some file systems cannot flush a folder (EINVAL); the rename is as safe as they allow.
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

PageFile::PageFile(const PageFolder &folder, const char *extension)
    : folder_(folder), extension_(extension), number_(folder.nextNumber()) {
    partial_ = folder_.path() + "/" + kPartialPrefix +
               PageFolder::pageName(number_, extension).substr(5) + kPartialSuffix;
    fd_ = ::open(partial_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        throw PageWriteError(std::string("cannot create ") + partial_ + ": " +
                             std::strerror(errno));
    }
}

PageFile::~PageFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!committed_) {
        ::unlink(partial_.c_str());
    }
}

std::string PageFile::intendedPath() const {
    return folder_.path() + "/" + PageFolder::pageName(number_, extension_.c_str());
}

std::string PageFile::commit() {
    if (::fsync(fd_) != 0) {
        throw PageWriteError(std::strerror(errno));
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        throw PageWriteError(std::strerror(errno));
    }
    // Another program may have put a page-NNN file there since the number was chosen.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string path = intendedPath();
        if (renameNoReplace(partial_, path)) {
            committed_ = true;
            syncFolder(folder_.path());
            return path;
        }
        if (errno != EEXIST) {
            throw PageWriteError(std::strerror(errno));
        }
        number_ = folder_.nextNumber();
    }
    throw PageWriteError("no free page name");
}

} // namespace folvane::scan
