#include "pdfw/output/OutputFile.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "pdfw/core/PdfwError.h"
#include "pdfw/core/TestKillPoint.h"
#include "pdfw/core/UnnamedFile.h"
#include "pdfw/output/DeadTemporaries.h"
#include "pdfw/output/TemporaryFiles.h"

namespace folvane::pdfw {

namespace {

// A failure of the output at `step` ("create", "write", "flush", "rename").
Problem outputProblem(const std::string &target, const char *step, std::string reason) {
    Problem problem = problemWith(PDFW_PROBLEM_OUTPUT, target, std::move(reason));
    problem.item = step;
    return problem;
}

constexpr std::size_t kBufferBytes = std::size_t{1} << 20;
// Written data is handed to the disk in steps of this size while the document grows, so that
// the fsync in commit() finds little left to write.
constexpr std::uint64_t kWriteBackBytes = std::uint64_t{8} << 20;

std::string errorText(int error) {
    return std::strerror(error);
}

// The permission bits a newly created file gets: 0666 less the process umask, read from
// /proc so that the umask is not changed, even for a moment, under other threads.
mode_t newFileMode() {
    mode_t mask = 022;
    if (FILE *status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            unsigned value = 0;
            if (std::sscanf(line, "Umask: %o", &value) == 1) {
                mask = static_cast<mode_t>(value) & 0777;
                break;
            }
        }
        std::fclose(status);
    }
    return 0666 & ~mask;
}

// The file a target path finally names: a symbolic link is followed (relative links from
// the link's own folder), so that the document replaces the file the link points to and the
// link stays. False with `reason` set for a chain of links that does not end.
bool followLinks(std::string &path, Problem &reason) {
    constexpr int kMaxLinks = 40; // the kernel's own limit for one lookup
    for (int hops = 0; hops < kMaxLinks; ++hops) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return true;
        }
        std::string link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
        ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= link.size()) {
            return true; // the link changed under us: let the create below report what it finds
        }
        link.resize(static_cast<std::size_t>(length));
        std::size_t slash = path.rfind('/');
        path =
            link[0] == '/' || slash == std::string::npos ? link : path.substr(0, slash + 1) + link;
    }
    reason = outputProblem(path, "create", "too many levels of symbolic links");
    return false;
}

// The document's file in `folder`: one with no name, linked into place when complete, where the
// file system offers it; else one named `prefix` + six characters (filled into `temp`),
// remembered for the signal handler and locked while this process lives, so that a later run
// can tell it was left by a killed one.
int openDocumentFile(const std::string &folder, const std::string &prefix, std::string &temp,
                     int &slot) {
    if (unnamedFilesAllowed()) {
        int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) {
            return fd;
        }
    }
    temp = prefix + "XXXXXX";
    int fd = temporary_files::create(temp, O_CLOEXEC, slot);
    if (fd >= 0) {
        ::flock(fd, LOCK_EX | LOCK_NB);
    }
    return fd;
}

// Why an existing node that is not a regular file cannot be the output (pipes and character
// devices are written before this is asked), or null when it can.
const char *refusedKind(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "it is a folder";
    }
    if (S_ISSOCK(mode)) {
        return "it is a socket";
    }
    if (S_ISBLK(mode)) {
        return "it is a block device";
    }
    return S_ISREG(mode) ? nullptr : "it is not a regular file";
}

// Whether this process may rename over the existing `target` in `folder`: in a folder with the
// sticky bit (like /tmp) only the owner of the file or of the folder may, or the superuser.
// Found out before the run, not at its end.
bool mayReplace(const std::string &target, const std::string &folder, const struct stat &existing,
                Problem &reason) {
    struct stat place {};
    uid_t user = ::geteuid();
    if (user == 0 || ::stat(folder.c_str(), &place) != 0 || (place.st_mode & S_ISVTX) == 0 ||
        existing.st_uid == user || place.st_uid == user) {
        return true;
    }
    reason = outputProblem(target, "create",
                           "it belongs to another user and its folder lets only the owner "
                           "replace it (the folder's sticky bit)");
    return false;
}

} // namespace

std::unique_ptr<OutputFile> OutputFile::create(const std::string &named, const MemoryProcs &procs,
                                               Problem &reason) {
    if (named.empty() || named.back() == '/') {
        reason = outputProblem(named, "create", "not a file name");
        return nullptr;
    }
    struct stat existing {};
    // A pipe or device is opened by the name given: /dev/stdout and its like lead through
    // links of /proc that name no path to follow.
    if (::stat(named.c_str(), &existing) == 0 &&
        (S_ISCHR(existing.st_mode) || S_ISFIFO(existing.st_mode))) {
        return openStream({named, "", named.substr(named.rfind('/') + 1), 0600, -1}, procs, reason);
    }
    std::string target = named;
    if (!followLinks(target, reason)) {
        return nullptr;
    }
    std::size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    Placement place{target, folder, base, newFileMode(), -1};
    if (::stat(target.c_str(), &existing) == 0) {
        if (const char *kind = refusedKind(existing.st_mode)) {
            reason = outputProblem(target, "create", kind);
            return nullptr;
        }
        if (!mayReplace(target, folder, existing, reason)) {
            return nullptr;
        }
        place.mode = existing.st_mode & 07777;
    }
    return make(place, procs, reason);
}

std::unique_ptr<OutputFile> OutputFile::openStream(Placement place, const MemoryProcs &procs,
                                                   Problem &reason) {
    // Opened without waiting: a pipe that nothing reads from is refused at once, not waited on.
    int stream = ::open(place.target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (stream < 0) {
        int error = errno;
        struct stat info {};
        bool pipe = ::stat(place.target.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
        reason = outputProblem(place.target, "create",
                               pipe && error == ENXIO ? "nothing reads from the pipe"
                                                      : errorText(error));
        return nullptr;
    }
    if (::isatty(stream)) {
        ::close(stream);
        reason = outputProblem(place.target, "create", "it is a terminal");
        return nullptr;
    }
    ::fcntl(stream, F_SETFL, ::fcntl(stream, F_GETFL) & ~O_NONBLOCK);
    // The document is written whole into a temporary file first, as for standard output, so
    // that a failed run sends nothing.
    place.folder = temporaryFolder();
    if (place.folder.back() != '/') {
        place.folder += '/';
    }
    place.stream = stream;
    return make(place, procs, reason);
}

std::unique_ptr<OutputFile> OutputFile::make(const Placement &place, const MemoryProcs &procs,
                                             Problem &reason) {
    removeDeadTemporaries(place.folder);
    std::string prefix =
        (place.folder == "." ? std::string() : place.folder) + temporaryPrefix(place.base);
    std::string temp;
    int slot = -1;
    int fd = openDocumentFile(place.folder, prefix, temp, slot);
    if (fd < 0) {
        int error = errno;
        if (place.stream >= 0) {
            ::close(place.stream);
        }
        reason =
            outputProblem(place.target, "create",
                          "no file can be made in \"" + place.folder + "\": " + errorText(error));
        return nullptr;
    }
    ::fchmod(fd, place.mode);
    try {
        Buffer buffer(procs, kBufferBytes, "output buffer");
        auto output = std::unique_ptr<OutputFile>(
            new OutputFile(place.target, place.folder, prefix, temp, fd, std::move(buffer), slot));
        output->stream_ = place.stream;
        return output;
    } catch (...) {
        ::close(fd);
        if (place.stream >= 0) {
            ::close(place.stream);
        }
        if (!temp.empty()) {
            ::unlink(temp.c_str());
        }
        temporary_files::forget(slot);
        throw;
    }
}

OutputFile::OutputFile(std::string target, std::string folder, std::string prefix, std::string temp,
                       int fd, Buffer buffer, int slot)
    : target_(std::move(target)), folder_(std::move(folder)), prefix_(std::move(prefix)),
      temp_(std::move(temp)), fd_(fd), buffer_(std::move(buffer)), slot_(slot) {}

OutputFile::~OutputFile() {
    if (!committed_) {
        discard();
    }
}

void OutputFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (stream_ >= 0) {
        ::close(stream_);
        stream_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
    temporary_files::forget(std::exchange(slot_, -1));
}

bool OutputFile::linkUnnamed() {
    // The descriptor's file gets a name of the kind a killed run leaves (the lock held on it
    // tells it is alive), then the rename puts it over the target at once.
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        return false;
    }
    std::string source = "/proc/self/fd/" + std::to_string(fd_);
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = prefix_;
        for (int i = 0; i < 6; ++i) {
            name += kChars[random() % (sizeof kChars - 1)];
        }
        slot_ = temporary_files::add(name.c_str());
        if (::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            temp_ = name;
            return true;
        }
        int error = errno;
        temporary_files::forget(std::exchange(slot_, -1));
        if (error != EEXIST) {
            errno = error;
            return false;
        }
    }
    errno = EEXIST;
    return false;
}

void OutputFile::failWrite(int error) {
    broken_ = true;
    fail(PDFW_IO_ERROR, outputProblem(target_, "write", errorText(error)));
}

void OutputFile::write(const void *data, std::size_t size) {
    if (broken_) {
        fail(PDFW_IO_ERROR, outputProblem(target_, "write", "an earlier write failed"));
    }
    const auto *bytes = static_cast<const unsigned char *>(data);
    if (used_ + size <= buffer_.size()) {
        std::memcpy(buffer_.data() + used_, bytes, size);
        used_ += size;
        position_ += size;
        return;
    }
    flush();
    if (size >= buffer_.size()) {
        writeDirect(bytes, size);
    } else {
        std::memcpy(buffer_.data(), bytes, size);
        used_ = size;
    }
    position_ += size;
}

void OutputFile::copy(const FileSpan &span) {
    if (broken_) {
        fail(PDFW_IO_ERROR, outputProblem(target_, "write", "an earlier write failed"));
    }
    // A span that fits in the buffer is read into it, as any other write is buffered; a
    // larger one is copied by the kernel from the file to the output.
    bool copied = false;
    if (used_ + span.length() > buffer_.size()) {
        flush();
        copied = copyInKernel(span);
    }
    if (!copied) {
        readThroughBuffer(span);
    }
    position_ += span.length();
    if (!span.unchanged()) {
        broken_ = true;
        fail(PDFW_IO_ERROR, problemWith(PDFW_PROBLEM_CANNOT_READ, span.path(),
                                        "it changed while it was being read"));
    }
}

bool OutputFile::copyInKernel(const FileSpan &span) {
    auto from = static_cast<loff_t>(span.offset());
    std::uint64_t left = span.length();
    while (left > 0) {
        ssize_t copied = ::copy_file_range(span.fd(), &from, fd_, nullptr, left, 0);
        if (copied < 0) {
            if (errno == EINTR) {
                continue;
            }
            // Files the kernel will not copy between (other file systems on older kernels,
            // special files) go through the buffer instead.
            bool unsupported =
                errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP;
            if (unsupported && left == span.length()) {
                return false;
            }
            failWrite(errno);
        }
        if (copied == 0) {
            broken_ = true;
            fail(PDFW_IO_ERROR, problemWith(PDFW_PROBLEM_CANNOT_READ, span.path(),
                                            "it changed while it was being read"));
        }
        left -= static_cast<std::uint64_t>(copied);
        inFile_ += static_cast<std::uint64_t>(copied);
    }
    startWriteBack();
    return true;
}

void OutputFile::readThroughBuffer(const FileSpan &span) {
    std::uint64_t at = span.offset();
    std::uint64_t left = span.length();
    while (left > 0) {
        if (used_ == buffer_.size()) {
            flush();
        }
        std::size_t room = buffer_.size() - used_;
        std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(left, room));
        ssize_t got = ::pread(span.fd(), buffer_.data() + used_, chunk, static_cast<off_t>(at));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            broken_ = true;
            fail(PDFW_IO_ERROR,
                 problemWith(PDFW_PROBLEM_CANNOT_READ, span.path(),
                             got < 0 ? errorText(errno) : std::string("it became shorter")));
        }
        used_ += static_cast<std::size_t>(got);
        at += static_cast<std::uint64_t>(got);
        left -= static_cast<std::uint64_t>(got);
    }
}

void OutputFile::flush() {
    std::size_t used = std::exchange(used_, 0);
    writeDirect(buffer_.data(), used);
}

void OutputFile::writeDirect(const unsigned char *data, std::size_t size) {
    while (size > 0) {
        ssize_t written = ::write(fd_, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            failWrite(errno);
        }
        if (written == 0) {
            failWrite(EIO);
        }
        data += written;
        size -= static_cast<std::size_t>(written);
        inFile_ += static_cast<std::uint64_t>(written);
    }
    startWriteBack();
}

void OutputFile::startWriteBack() {
    if (inFile_ - writeBackFrom_ < kWriteBackBytes) {
        return;
    }
    // Only a hint: the writes already succeeded, and the fsync in commit() reports any error.
    ::sync_file_range(fd_, static_cast<off_t>(writeBackFrom_),
                      static_cast<off_t>(inFile_ - writeBackFrom_), SYNC_FILE_RANGE_WRITE);
    writeBackFrom_ = inFile_;
}

void OutputFile::commit() {
    if (broken_) {
        discard();
        fail(PDFW_IO_ERROR, outputProblem(target_, "write", "an earlier write failed"));
    }
    try {
        flush();
        if (stream_ >= 0) {
            copyToStream();
            return;
        }
    } catch (...) {
        discard();
        throw;
    }
    if (::fsync(fd_) != 0) {
        int error = errno;
        discard();
        fail(PDFW_SYSTEM_ERROR, outputProblem(target_, "flush", errorText(error)));
    }
    testKillPoint("commit");
    if (temp_.empty() && !linkUnnamed()) {
        int error = errno;
        discard();
        fail(PDFW_SYSTEM_ERROR, outputProblem(target_, "rename", errorText(error)));
    }
    testKillPoint("linked");
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        int error = errno;
        discard();
        fail(PDFW_SYSTEM_ERROR, outputProblem(target_, "rename", errorText(error)));
    }
    if (::close(std::exchange(fd_, -1)) != 0) {
        int error = errno;
        temp_.clear();
        fail(PDFW_IO_ERROR, outputProblem(target_, "write", errorText(error)));
    }
    temp_.clear();
    temporary_files::forget(std::exchange(slot_, -1));
    committed_ = true;
    // Make the rename itself durable; the document is complete whatever this reports.
    int folder = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

void OutputFile::copyToStream() {
    // A reader that went away gives EPIPE to report rather than a SIGPIPE that ends the
    // process: the signal is held back on this thread while writing and taken if it came.
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigset_t previous;
    ::pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    int error = 0;
    std::uint64_t at = 0;
    while (error == 0 && at < inFile_) {
        ssize_t got = ::pread(fd_, buffer_.data(), buffer_.size(), static_cast<off_t>(at));
        if (got <= 0) {
            error = got < 0 ? errno : EIO;
            break;
        }
        at += static_cast<std::uint64_t>(got);
        for (ssize_t done = 0; done < got;) {
            ssize_t written = ::write(stream_, buffer_.data() + done, got - done);
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                error = written < 0 ? errno : EIO;
                break;
            }
            done += written;
        }
    }
    if (error == EPIPE) {
        const timespec now{};
        ::sigtimedwait(&pipeSignal, nullptr, &now);
    }
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (error == 0 && ::close(std::exchange(stream_, -1)) != 0) {
        error = errno;
    }
    if (error != 0) {
        failWrite(error);
    }
    discard();
    committed_ = true;
}

} // namespace folvane::pdfw
