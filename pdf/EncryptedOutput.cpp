#include "pdf/EncryptedOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "pdf/PageGeneration.h"
#include "pdfw/pdfw.h"

namespace folvane {

namespace {

GenerateError outputFailure(const std::string &savePath, const char *step,
                            const std::string &detail) {
    Problem problem;
    problem.kind = Problem::Kind::Output;
    problem.file = savePath;
    problem.item = step;
    problem.detail = detail;
    return GenerateError(problem, std::string("cannot ") + step + " " + savePath + ": " + detail,
                         savePath, 0, GenerateError::kNoRow);
}

// The file `path` finally names: symbolic links followed (relative ones from their own folder),
// so that the document replaces the file a link points to and the link stays.
std::string followLinks(std::string path) {
    constexpr int kMaxLinks = 40; // the kernel's own limit for one lookup
    for (int hops = 0; hops < kMaxLinks; ++hops) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        char link[4096];
        const ssize_t length = ::readlink(path.c_str(), link, sizeof link);
        if (length <= 0 || static_cast<std::size_t>(length) >= sizeof link) {
            return path; // let creating the file report what it finds
        }
        const std::string to(link, static_cast<std::size_t>(length));
        const std::size_t slash = path.rfind('/');
        path = to[0] == '/' || slash == std::string::npos ? to : path.substr(0, slash + 1) + to;
    }
    return path;
}

// The permission bits a new file gets: 0666 less the umask, read from /proc so that the umask
// is not changed, even for a moment, under other threads.
mode_t newFileMode() {
    unsigned mask = 022;
    if (FILE *status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            if (std::sscanf(line, "Umask: %o", &mask) == 1) {
                break;
            }
        }
        std::fclose(status);
    }
    return 0666 & ~static_cast<mode_t>(mask & 0777);
}

std::string folderOf(const std::string &path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

EncryptedOutput::EncryptedOutput(const std::string &savePath)
    : savePath_(savePath), target_(followLinks(savePath)) {
    struct stat existing {};
    if (::stat(target_.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode)) {
            throw outputFailure(savePath_, "create",
                                "an encrypted document is written only to a regular file");
        }
        mode_ = existing.st_mode & 07777;
    } else {
        mode_ = newFileMode();
    }
    plain_ = createTemporary("create");
    // The engine renames its own finished file over this one: this descriptor has no use.
    ::close(std::exchange(plain_.fd, -1));
}

EncryptedOutput::~EncryptedOutput() {
    remove(plain_);
    remove(sealed_);
}

EncryptedOutput::TemporaryFile EncryptedOutput::createTemporary(const char *step) const {
    TemporaryFile file;
    char name[4096];
    file.fd = pdfw_create_temporary_file(target_.c_str(), name, sizeof name, &file.slot);
    if (file.fd < 0) {
        throw outputFailure(savePath_, step, std::strerror(errno));
    }
    file.path = name;
    return file;
}

void EncryptedOutput::remove(TemporaryFile &file) noexcept {
    // Unlinked before it is forgotten, so that an interruption in between finds it gone.
    if (!file.path.empty()) {
        ::unlink(file.path.c_str());
        file.path.clear();
    }
    if (file.fd >= 0) {
        ::close(std::exchange(file.fd, -1));
    }
    pdfw_forget_temporary_file(std::exchange(file.slot, -1));
}

void EncryptedOutput::commit(const pdfdoc::EncryptionSettings &settings) {
    // The plain document loses its name before anything else is done with it: from here on
    // only this descriptor reaches it, and it is gone with the descriptor.
    const int plain = ::open(plain_.path.c_str(), O_RDONLY | O_CLOEXEC);
    const int openError = errno;
    remove(plain_);
    if (plain < 0) {
        throw outputFailure(savePath_, "write", std::strerror(openError));
    }
    try {
        encryptInto(plain, settings);
    } catch (...) {
        ::close(plain);
        throw;
    }
    ::close(plain);
    putInPlace();
}

void EncryptedOutput::encryptInto(int plain, const pdfdoc::EncryptionSettings &settings) {
    sealed_ = createTemporary("create");
    try {
        pdfdoc::encryptPdf(plain, sealed_.fd, settings);
    } catch (const pdfdoc::EncryptionError &e) {
        if (e.kind == pdfdoc::EncryptionError::Kind::Memory) {
            Problem problem;
            problem.kind = Problem::Kind::Memory;
            problem.item = "the encrypted document";
            throw GenerateError(problem, e.what(), savePath_, 0, GenerateError::kNoRow);
        }
        throw outputFailure(savePath_, "write", std::string("encryption: ") + e.what());
    }
    if (::fchmod(sealed_.fd, mode_) != 0 || ::fsync(sealed_.fd) != 0) {
        throw outputFailure(savePath_, "flush", std::strerror(errno));
    }
}

void EncryptedOutput::putInPlace() {
    if (::rename(sealed_.path.c_str(), target_.c_str()) != 0) {
        throw outputFailure(savePath_, "rename", std::strerror(errno));
    }
    sealed_.path.clear(); // it is the target now
    remove(sealed_);
    // The rename itself reaches the disk with the folder.
    const int folder = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

} // namespace folvane
