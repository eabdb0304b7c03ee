#include "cli/Destination.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/Interrupts.h"
#include "cli/Texts.h"
#include "pdf/QuotedName.h"

namespace folvane::cli {

namespace {

std::string temporaryFolder() {
    const char *folder = std::getenv("TMPDIR");
    return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

// Writes all of `size` bytes to standard output.
bool writeOut(const char *data, std::size_t size) {
    while (size > 0) {
        ssize_t written = ::write(STDOUT_FILENO, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

Destination::~Destination() {
    if (toStdout_ && !path_.empty()) {
        // In this order, an interruption in between finds the file already gone, not left.
        ::unlink(path_.c_str());
        forgetOwnFile();
    }
}

bool Destination::prepare(const std::string &output, bool force, std::string &error) {
    if (output == "-") {
        if (::isatty(STDOUT_FILENO)) {
            error = _("not writing a PDF to a terminal: redirect standard output, or use -o FILE");
            return false;
        }
        // Named as the engine names its temporary documents, after this process: a buffer
        // left by a killed run is removed by the next run that writes into the folder.
        std::string buffer =
            temporaryFolder() + "/.folvane-pdf.pdfw-" + std::to_string(::getpid()) + "-XXXXXX";
        int fd = createOwnFile(buffer);
        if (fd < 0) {
            error = fill(_("cannot create a buffer file in %1: %2"),
                         {temporaryFolder(), std::strerror(errno)});
            return false;
        }
        ::close(fd);
        path_ = buffer;
        toStdout_ = true;
        // A reader that goes away gives a write error to report, not a silent end.
        std::signal(SIGPIPE, SIG_IGN);
        return true;
    }
    struct stat existing {};
    if (!force && ::stat(output.c_str(), &existing) == 0 && !S_ISDIR(existing.st_mode) &&
        ::faccessat(AT_FDCWD, output.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES) {
        error = fill(_("%1: not replacing a file you cannot write (--force replaces it)"),
                     {folvane::quotedName(output)});
        return false;
    }
    path_ = output;
    return true;
}

bool Destination::deliver(std::string &error) {
    if (!toStdout_) {
        return true;
    }
    int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = fill(_("cannot read back %1: %2"), {path_, std::strerror(errno)});
        return false;
    }
    char chunk[1 << 16];
    bool ok = true;
    for (;;) {
        ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            error = fill(_("cannot read back %1: %2"), {path_, std::strerror(errno)});
            ok = false;
            break;
        }
        if (got == 0) {
            break;
        }
        if (!writeOut(chunk, static_cast<std::size_t>(got))) {
            error = fill(_("cannot write to standard output: %1"), {std::strerror(errno)});
            ok = false;
            break;
        }
    }
    ::close(fd);
    return ok;
}

} // namespace folvane::cli
