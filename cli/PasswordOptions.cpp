#include "cli/PasswordOptions.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "cli/Texts.h"
#include "pdf/QuotedName.h"

namespace folvane::cli {

namespace {

constexpr const char *kPasswordHelp =
    N_(R"(Passwords (the PDF locked with AES-256; it then opens only with a password):
      --user-password-file FILE
                      the password that opens the PDF, the first line of FILE (its
                      line break dropped); at most 127 bytes of UTF-8. A password
                      is never given on the command line itself, where every user
                      of the machine reads it in the process list
      --owner-password-file FILE
                      the owner password, read the same way: it opens the PDF with
                      every permission. Without it, nobody can lift what
                      --no-printing and --no-copying forbid
      --no-printing   the PDF opened with the user password cannot be printed
      --no-copying    its text and pictures cannot be copied out
  The PDF becomes version 1.7, which this encryption needs; its bytes differ from
  run to run, as the encryption starts from random values.
)");

// The most bytes read from a password file: well past the longest password, so that a longer
// one is told apart, and small enough that a wrong file given by mistake is not read whole.
constexpr std::size_t kMostBytesRead = 4096;

// The file's contents up to kMostBytesRead + 1 bytes; false with `error` set when it cannot be
// read. A pipe (a shell's <(...)) is read as a file is.
bool readSome(const std::string &path, std::string &text, int &error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return false;
    }
    char chunk[kMostBytesRead + 1];
    while (text.size() <= kMostBytesRead) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk - text.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            error = errno;
            ::close(fd);
            return false;
        }
        if (got == 0) {
            break;
        }
        text.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return true;
}

std::string problemText(folvane::pdfdoc::PasswordProblem problem, const std::string &option,
                        const std::string &file) {
    using folvane::pdfdoc::PasswordProblem;
    const std::string quoted = folvane::quotedName(file);
    switch (problem) {
    case PasswordProblem::Empty:
        return fill(_("%1: the password file %2 is empty"), {option, quoted});
    case PasswordProblem::TooLong:
        return fill(_("%1: the password in %2 is longer than 127 bytes"), {option, quoted});
    case PasswordProblem::NotUtf8:
        return fill(_("%1: the password in %2 is not UTF-8 text"), {option, quoted});
    case PasswordProblem::Control:
        return fill(_("%1: %2 holds more than one line, or a control character"), {option, quoted});
    case PasswordProblem::SameAsUser:
        break;
    }
    return _("the owner password must differ from the user password");
}

// Reads --NAME's password file into `password`; a usage error's reason, or "".
std::string readPassword(const std::string &name, const std::string &path,
                         std::optional<std::string> &password) {
    const std::string option = "--" + name;
    if (password) {
        return fill(_("%1 given twice"), {option});
    }
    std::string text;
    int error = 0;
    if (!readSome(path, text, error)) {
        return fill(_("%1: cannot read %2: %3"),
                    {option, folvane::quotedName(path), std::strerror(error)});
    }
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
        if (!text.empty() && text.back() == '\r') { // a line ended as Windows ends it
            text.pop_back();
        }
    }
    if (auto problem = folvane::pdfdoc::checkPassword(text)) {
        return problemText(*problem, option, path);
    }
    password = std::move(text);
    return "";
}

} // namespace

const std::vector<PasswordOptionName> &passwordOptionNames() {
    static const std::vector<PasswordOptionName> names = {{"user-password-file", true},
                                                          {"owner-password-file", true},
                                                          {"no-printing", false},
                                                          {"no-copying", false}};
    return names;
}

std::string setPasswordOption(PasswordRequest &request, const std::string &name,
                              const std::string &value) {
    if (name == "user-password-file") {
        return readPassword(name, value, request.userPassword);
    }
    if (name == "owner-password-file") {
        return readPassword(name, value, request.ownerPassword);
    }
    if (name == "no-printing") {
        request.noPrinting = true;
    } else {
        request.noCopying = true;
    }
    return "";
}

std::optional<folvane::pdfdoc::EncryptionSettings> encryptionFor(const PasswordRequest &request,
                                                                 std::string &reason) {
    if (!request.userPassword) {
        if (request.ownerPassword || request.noPrinting || request.noCopying) {
            reason = _("--owner-password-file, --no-printing and --no-copying need "
                       "--user-password-file");
        }
        return std::nullopt;
    }
    folvane::pdfdoc::EncryptionSettings settings;
    settings.userPassword = *request.userPassword;
    settings.ownerPassword = request.ownerPassword.value_or("");
    settings.allowPrinting = !request.noPrinting;
    settings.allowCopying = !request.noCopying;
    if (folvane::pdfdoc::checkSettings(settings)) {
        reason = _("the owner password must differ from the user password");
        return std::nullopt;
    }
    return settings;
}

const char *passwordHelp() {
    return _(kPasswordHelp);
}

} // namespace folvane::cli
