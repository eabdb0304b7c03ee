#include "cli/OwnFolder.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "scan/PageFolder.h"

namespace folvane::cli {

namespace {

// Read by the handler: only lock-free flags and a fixed buffer.
char ownFolder[PATH_MAX];
volatile std::sig_atomic_t haveOwnFolder = 0;
volatile std::sig_atomic_t removeWholly = 0;

// Names compared without the library's std::string helpers: the handler may not allocate.
bool isPartialPage(const char *name) {
    const std::size_t prefix = std::strlen(folvane::scan::kPartialPrefix);
    const std::size_t suffix = std::strlen(folvane::scan::kPartialSuffix);
    const std::size_t length = std::strlen(name);
    return length > prefix + suffix &&
           std::strncmp(name, folvane::scan::kPartialPrefix, prefix) == 0 &&
           std::strcmp(name + length - suffix, folvane::scan::kPartialSuffix) == 0;
}

struct LinuxDirent64 {
    ino64_t inode;
    off64_t offset;
    unsigned short length;
    unsigned char type;
    char name[1];
};

// Removes the entries of the open folder `fd` that `wholly` or their names say; getdents64
// directly, since readdir may allocate. Returns how many went.
int removeEntries(int fd, bool wholly) {
    alignas(LinuxDirent64) char buffer[4096];
    int removed = 0;
    for (;;) {
        const long got = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer);
        if (got <= 0) {
            return removed;
        }
        for (long at = 0; at < got;) {
            const auto *entry = reinterpret_cast<const LinuxDirent64 *>(buffer + at);
            at += entry->length;
            const char *name = entry->name;
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) {
                continue;
            }
            if ((wholly || isPartialPage(name)) && ::unlinkat(fd, name, 0) == 0) {
                ++removed;
            }
        }
    }
}

} // namespace

bool createOwnFolder(std::string &path) {
    if (path.size() >= sizeof ownFolder) {
        errno = ENAMETOOLONG;
        return false;
    }
    haveOwnFolder = 0;
    std::memcpy(ownFolder, path.c_str(), path.size() + 1);
    removeWholly = 1;
    haveOwnFolder = 1;
    if (::mkdtemp(ownFolder) == nullptr) {
        const int error = errno;
        haveOwnFolder = 0;
        errno = error;
        return false;
    }
    std::memcpy(path.data(), ownFolder, path.size());
    // Held until the process ends: the descriptor is never closed.
    const int lock = ::open(ownFolder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (lock >= 0) {
        ::flock(lock, LOCK_EX | LOCK_NB);
    }
    return true;
}

void rememberKeptFolder(const std::string &path) {
    haveOwnFolder = 0;
    if (path.size() < sizeof ownFolder) {
        std::memcpy(ownFolder, path.c_str(), path.size() + 1);
        removeWholly = 0;
        haveOwnFolder = 1;
    }
}

void forgetOwnFolder() {
    haveOwnFolder = 0;
}

void removeOwnFolderNow() {
    if (!haveOwnFolder) {
        return;
    }
    const int fd = ::open(ownFolder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    // Removing entries while reading the folder may hide some from this pass; a few more
    // passes find them.
    for (int pass = 0; pass < 8 && removeEntries(fd, removeWholly != 0) > 0; ++pass) {
        ::lseek(fd, 0, SEEK_SET);
    }
    ::close(fd);
    if (removeWholly) {
        ::rmdir(ownFolder);
    }
}

} // namespace folvane::cli
