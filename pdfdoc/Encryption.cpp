#include "pdfdoc/Encryption.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <random>
#include <unistd.h>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFWriter.hh>

namespace folvane::pdfdoc {

namespace {

// The length of the UTF-8 sequence that starts with `lead`, 0 for a byte no sequence starts
// with (a continuation byte, an overlong two-byte lead, beyond U+10FFFF).
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

// Whether `text` is well-formed UTF-8: no overlong forms, surrogates or values past U+10FFFF.
bool isUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = sequenceLength(lead);
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        unsigned long code = length == 1 ? lead : lead & (0xFFu >> (length + 1));
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        const unsigned long smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

// An owner password nobody knows: 32 random bytes as hexadecimal digits.
std::string unknownPassword() {
    std::random_device random;
    static const char kDigits[] = "0123456789abcdef";
    std::string password;
    for (int i = 0; i < 32; ++i) {
        const unsigned value = random();
        password += kDigits[value & 15];
        password += kDigits[(value >> 4) & 15];
    }
    return password;
}

// A stdio stream on a duplicate of `fd`, so that closing the stream leaves `fd` open.
FILE *streamOn(int fd, const char *mode) {
    const int copy = ::dup(fd);
    if (copy < 0) {
        return nullptr;
    }
    FILE *stream = ::fdopen(copy, mode);
    if (stream == nullptr) {
        ::close(copy);
    }
    return stream;
}

void writeEncrypted(int source, int target, const EncryptionSettings &settings) {
    FILE *input = streamOn(source, "rb");
    if (input == nullptr) {
        throw EncryptionError(EncryptionError::Kind::Damaged, std::strerror(errno));
    }
    QPDF document;
    document.setSuppressWarnings(true);
    try {
        document.processFile("document", input, true);
    } catch (const QPDFExc &e) {
        throw EncryptionError(EncryptionError::Kind::Damaged, e.what());
    }
    // Closed here rather than by the writer, so that a failure of the last flush is seen.
    std::unique_ptr<FILE, int (*)(FILE *)> output(streamOn(target, "wb"), &std::fclose);
    if (!output) {
        throw EncryptionError(EncryptionError::Kind::Write, std::strerror(errno));
    }
    QPDFWriter writer(document, "encrypted document", output.get(), false);
    const std::string owner =
        settings.ownerPassword.empty() ? unknownPassword() : settings.ownerPassword;
    writer.setR6EncryptionParameters(settings.userPassword.c_str(), owner.c_str(),
                                     true,                  // accessibility
                                     settings.allowCopying, // extract
                                     false,                 // assemble
                                     false,                 // annotate and form
                                     false,                 // fill forms
                                     false,                 // modify other
                                     settings.allowPrinting ? qpdf_r3p_full : qpdf_r3p_none,
                                     true); // metadata encrypted too
    writer.write();
    if (std::fflush(output.get()) != 0 || std::ferror(output.get()) != 0) {
        throw EncryptionError(EncryptionError::Kind::Write, std::strerror(errno));
    }
}

} // namespace

std::optional<PasswordProblem> checkPassword(std::string_view password) {
    if (password.empty()) {
        return PasswordProblem::Empty;
    }
    if (password.size() > kMaxPasswordBytes) {
        return PasswordProblem::TooLong;
    }
    if (!isUtf8(password)) {
        return PasswordProblem::NotUtf8;
    }
    for (char c : password) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return PasswordProblem::Control;
        }
    }
    return std::nullopt;
}

std::optional<PasswordProblem> checkSettings(const EncryptionSettings &settings) {
    if (auto problem = checkPassword(settings.userPassword)) {
        return problem;
    }
    if (settings.ownerPassword.empty()) {
        return std::nullopt;
    }
    if (auto problem = checkPassword(settings.ownerPassword)) {
        return problem;
    }
    if (settings.ownerPassword == settings.userPassword) {
        return PasswordProblem::SameAsUser;
    }
    return std::nullopt;
}

void encryptPdf(int source, int target, const EncryptionSettings &settings) {
    if (checkSettings(settings)) {
        throw EncryptionError(EncryptionError::Kind::BadSettings, "a password cannot be used");
    }
    try {
        writeEncrypted(source, target, settings);
    } catch (const EncryptionError &) {
        throw;
    } catch (const std::bad_alloc &) {
        throw EncryptionError(EncryptionError::Kind::Memory, "out of memory");
    } catch (const QPDFExc &e) {
        throw EncryptionError(EncryptionError::Kind::Damaged, e.what());
    } catch (const std::exception &e) {
        // qpdf reports a failed write as a runtime error naming the system's reason.
        throw EncryptionError(EncryptionError::Kind::Write, e.what());
    }
}

} // namespace folvane::pdfdoc
