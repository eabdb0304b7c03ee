// Locking a finished PDF with passwords: the document of one file written again into another,
// encrypted with AES-256 (the revision 6 security handler), so that it opens only with the user
// password or the owner password, and printing and copying are allowed or not.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace folvane::pdfdoc {

// The longest password the revision 6 handler keeps, in bytes of UTF-8.
inline constexpr std::size_t kMaxPasswordBytes = 127;

struct EncryptionSettings {
    std::string userPassword;  // opens the document, with the permissions below
    std::string ownerPassword; // opens it with every permission; "" gives it one nobody knows
    bool allowPrinting = true;
    bool allowCopying = true;
};

// Why a password cannot lock a document.
enum class PasswordProblem {
    Empty,     // nothing to type
    TooLong,   // beyond kMaxPasswordBytes
    NotUtf8,   // the handler takes UTF-8 text
    Control,   // a line break, tab or other control character no dialog can type
    SameAsUser // an owner password equal to the user password would lift every restriction
};

// What is wrong with `password`, or nothing when it may lock a document.
std::optional<PasswordProblem> checkPassword(std::string_view password);

// What is wrong with the settings' passwords (the user password first), or nothing.
std::optional<PasswordProblem> checkSettings(const EncryptionSettings &settings);

// Why encrypting failed; what() holds the library's own English words.
class EncryptionError : public std::runtime_error {
public:
    enum class Kind {
        BadSettings, // a password checkPassword refuses
        Damaged,     // the source is not a PDF that can be read whole
        Write,       // the encrypted document could not be written
        Memory,      // memory ran out
    };
    EncryptionError(Kind why, const std::string &text) : std::runtime_error(text), kind(why) {}
    Kind kind;
};

// Reads the PDF open for reading on `source` and writes it encrypted as `settings` say to
// `target`, open for writing and empty. Both descriptors stay open and are the caller's; the
// target's data is flushed to the kernel but not synced. The document keeps its pages, text
// and metadata; its PDF version rises to what the handler needs (1.7 with extension level 8).
// Throws EncryptionError; never leaves a qpdf exception to the caller.
void encryptPdf(int source, int target, const EncryptionSettings &settings);

} // namespace folvane::pdfdoc
