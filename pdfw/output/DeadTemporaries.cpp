#include "pdfw/output/DeadTemporaries.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folvane::pdfw {

namespace {

bool processExists(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

// Removes the files in the open folder `fd` (a dead run's folder holds files only).
void removeFilesIn(int fd) {
    int listed = ::dup(fd);
    DIR *entries = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (!entries) {
        if (listed >= 0) {
            ::close(listed);
        }
        return;
    }
    while (dirent *entry = ::readdir(entries)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            ::unlinkat(fd, entry->d_name, 0);
        }
    }
    ::closedir(entries);
}

// Removes `name` in the open folder when nobody holds its lock; a folder with its files.
void removeUnlocked(int folder, const char *name) {
    int fd = ::openat(folder, name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        return;
    }
    struct stat info {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            removeFilesIn(fd);
            ::unlinkat(folder, name, AT_REMOVEDIR);
        } else {
            ::unlinkat(folder, name, 0);
        }
    }
    ::close(fd);
}

} // namespace

void removeDeadTemporaries(const std::string &folder) {
    DIR *entries = ::opendir(folder.c_str());
    if (!entries) {
        return;
    }
    int fd = ::dirfd(entries);
    while (dirent *entry = ::readdir(entries)) {
        pid_t owner = temporaryOwner(entry->d_name);
        if (owner > 0 && owner != ::getpid() && !processExists(owner)) {
            removeUnlocked(fd, entry->d_name);
        }
    }
    ::closedir(entries);
}

} // namespace folvane::pdfw
