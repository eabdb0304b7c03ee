// The document's output: a file with no name in the target's folder (O_TMPFILE), written
// through one large buffer and linked into place over the target only by commit(). Every write
// is checked; an object destroyed before commit() drops the file, so a failed, abandoned or
// killed run leaves no partial file and an existing target untouched. Where the file system
// offers no such file, it is a temporary file beside the target named after this process and
// locked while it lives (DeadTemporaries): a killed run's is removed by the next run there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>

#include "pdfw/core/FileSpan.h"
#include "pdfw/core/Memory.h"
#include "pdfw/core/Problem.h"

namespace folvane::pdfw {

class OutputFile {
public:
    // Creates the temporary file for `target`, beside the file it names (a symbolic link is
    // followed, so the link stays and its file is replaced). A pipe or character device is
    // never replaced: it is opened now, the document put together in a temporary file in
    // $TMPDIR (or /tmp) and copied into it by commit(). Returns null and sets `reason`
    // (PDFW_PROBLEM_OUTPUT) when the folder does not exist or refuses the file, the target is
    // a folder, socket or block device, a pipe has no reader, or a sticky folder would refuse
    // the rename over another user's file. The temporary file is known to
    // pdfw_remove_temporary_files() until it is renamed or removed.
    static std::unique_ptr<OutputFile> create(const std::string &target, const MemoryProcs &procs,
                                              Problem &reason);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // Appends bytes; a failure raises PDFW_IO_ERROR and marks the file broken.
    void write(const void *data, std::size_t size);
    void write(std::string_view text) { write(text.data(), text.size()); }
    // Appends the span's bytes: read into the buffer when they fit, else copied by the kernel
    // where it can. PDFW_IO_ERROR (and the file broken) when they cannot all be read or the
    // file changed since it was checked.
    void copy(const FileSpan &span);
    std::uint64_t position() const { return position_; }
    bool broken() const { return broken_; }
    const std::string &target() const { return target_; }
    // The folder the document is written in.
    const std::string &folder() const { return folder_; }

    // Flushes, syncs and renames over the target, then syncs the folder. On failure raises
    // PDFW_IO_ERROR or PDFW_SYSTEM_ERROR after removing the temporary file.
    void commit();

private:
    // Where and how the document's file is made.
    struct Placement {
        std::string target;
        std::string folder; // of the temporary file
        std::string base;   // the target's file name
        mode_t mode;        // of the finished file
        int stream;         // the pipe or device written at commit(), else -1
    };
    static std::unique_ptr<OutputFile> openStream(Placement place, const MemoryProcs &procs,
                                                  Problem &reason);
    static std::unique_ptr<OutputFile> make(const Placement &place, const MemoryProcs &procs,
                                            Problem &reason);
    OutputFile(std::string target, std::string folder, std::string prefix, std::string temp, int fd,
               Buffer buffer, int slot);
    // Gives the file with no name a temporary name beside the target; false with errno set.
    bool linkUnnamed();
    void flush();
    void writeDirect(const unsigned char *data, std::size_t size);
    // Copies what the kernel will copy; false (nothing copied) where it cannot.
    bool copyInKernel(const FileSpan &span);
    void readThroughBuffer(const FileSpan &span);
    void startWriteBack();
    // commit() for a pipe or device: copies the finished file into it.
    void copyToStream();
    [[noreturn]] void failWrite(int error);
    void discard();

    std::string target_;
    std::string folder_;
    std::string prefix_; // of this process's temporary names for the target
    std::string temp_;   // the file's temporary name; "" while it has none
    int fd_;
    Buffer buffer_;
    std::size_t used_ = 0;
    std::uint64_t position_ = 0;
    std::uint64_t inFile_ = 0;        // bytes handed to the file so far
    std::uint64_t writeBackFrom_ = 0; // start of the bytes whose write-back is not yet started
    bool broken_ = false;
    bool committed_ = false;
    int slot_ = -1;   // in TemporaryFiles
    int stream_ = -1; // the pipe or device the document goes to, else -1
};

} // namespace folvane::pdfw
