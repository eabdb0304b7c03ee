// What a file is on disk at one moment, to tell later whether it has gone or changed since.
#pragma once

#include <cstdint>
#include <string>

struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0; // last modification, in nanoseconds since the epoch
    bool operator==(const FileStamp &) const = default;
};

// The file at `path` now (following links); `exists` false when it cannot be reached.
FileStamp fileStampOf(const std::string &path);
