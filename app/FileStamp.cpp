#include "app/FileStamp.h"

#include <sys/stat.h>

FileStamp fileStampOf(const std::string &path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return FileStamp{};
    }
    constexpr std::int64_t kNsPerSecond = 1000000000;
    return FileStamp{
        true, static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
        static_cast<std::int64_t>(status.st_size),
        static_cast<std::int64_t>(status.st_mtim.tv_sec) * kNsPerSecond + status.st_mtim.tv_nsec};
}
