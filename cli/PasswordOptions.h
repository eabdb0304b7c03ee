// folvane-pdf's options that lock the PDF with passwords. A password is read from a file, never
// taken from the command line, where any user of the machine reads it in the process list.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pdfdoc/Encryption.h"

namespace folvane::cli {

struct PasswordRequest {
    std::optional<std::string> userPassword;  // --user-password-file's password
    std::optional<std::string> ownerPassword; // --owner-password-file's password
    bool noPrinting = false;
    bool noCopying = false;
};

struct PasswordOptionName {
    const char *name;
    bool takesValue;
};

// The long options, without their dashes.
const std::vector<PasswordOptionName> &passwordOptionNames();

// Applies one of them, reading a password file at once; returns a usage error's reason, or "".
std::string setPasswordOption(PasswordRequest &request, const std::string &name,
                              const std::string &value);

// The settings that lock the PDF, nothing when no password was given, or a usage error's
// reason in `reason` when the options do not fit together.
std::optional<folvane::pdfdoc::EncryptionSettings> encryptionFor(const PasswordRequest &request,
                                                                 std::string &reason);

// The part of --help about these options.
const char *passwordHelp();

} // namespace folvane::cli
