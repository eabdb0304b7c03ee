// The output of a run that locks its document with passwords. The engine writes the plain
// document over a temporary file beside the target; commit() reads it back through a descriptor
// whose name is removed at once, writes it encrypted into a second temporary file and renames
// that over the target. Both temporary files are named and locked as the engine's own are, so
// RemoveTemporaryFiles() and RemoveDeadTemporaries() find them: a failure, a stop or a kill at
// any step leaves no plain copy, no new file, and an existing target untouched.
#pragma once

#include <string>
#include <sys/types.h>

#include "pdfdoc/Encryption.h"

namespace folvane {

class EncryptedOutput {
public:
    // Prepares the plain document's file for `savePath`. Throws GenerateError (about the
    // output) when the target is not a regular file or its folder refuses the file.
    explicit EncryptedOutput(const std::string &savePath);
    // Removes whatever temporary file is left.
    ~EncryptedOutput();
    EncryptedOutput(const EncryptedOutput &) = delete;
    EncryptedOutput &operator=(const EncryptedOutput &) = delete;

    // Where the engine writes the plain document.
    const std::string &plainPath() const { return plain_.path; }

    // Encrypts the plain document into place over the target. Throws GenerateError.
    void commit(const pdfdoc::EncryptionSettings &settings);

private:
    struct TemporaryFile {
        std::string path;
        int fd = -1;
        int slot = -1;
    };
    TemporaryFile createTemporary(const char *step) const;
    static void remove(TemporaryFile &file) noexcept;
    void encryptInto(int plain, const pdfdoc::EncryptionSettings &settings);
    void putInPlace();

    std::string savePath_; // as given, for messages
    std::string target_;   // the file it finally names, through symbolic links
    mode_t mode_ = 0;      // of the finished file
    TemporaryFile plain_;
    TemporaryFile sealed_;
};

} // namespace folvane
