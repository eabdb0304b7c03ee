#include "pdfw/core/UnnamedFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "pdfw/core/TemporaryNames.h"

namespace folvane::pdfw {

bool unnamedFilesAllowed() {
    const char *named = std::getenv("FOLVANE_PDFW_NAMED_TEMPORARY");
    return named == nullptr || named[0] == '\0' || std::strcmp(named, "0") == 0;
}

int openUnnamedFile(const std::string &folder) {
    if (unnamedFilesAllowed()) {
        int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        // Refusals that mean "not here" (the file system or the kernel lacks it) try the named
        // way; anything else (no such folder, no permission) would fail there too.
        if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) {
            return fd;
        }
    }
    // Named as the run's own, so that what a kill between the two calls below leaves is
    // removed by the next run into the folder.
    std::string name = (folder == "/" ? std::string() : folder) + "/" +
                       temporaryPrefix("folvane-spill") + "XXXXXX";
    int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd >= 0) {
        ::unlink(name.c_str());
    }
    return fd;
}

std::string folderOf(const std::string &path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string temporaryFolder() {
    const char *folder = std::getenv("TMPDIR");
    return folder != nullptr && folder[0] != '\0' ? folder : "/tmp";
}

} // namespace folvane::pdfw
