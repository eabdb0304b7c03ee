// Files for tests: a scratch folder of the test's own, whole files read and written, and bytes
// behind a real stdio stream.
#pragma once

#include <cstdio>
#include <set>
#include <string>

#include "tests/support/Bytes.h"

namespace support {

// A fresh empty folder under the system's temporary folder (mkdtemp, so tests running side by
// side never share one), removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::string &Path() const { return path_; }
    // The path of `name` inside the folder.
    std::string operator/(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// A file holding the bytes, named `name`, in a folder of its own; both go with the object.
class TempFile {
public:
    explicit TempFile(const Bytes &bytes, const std::string &name = "file.bin");
    const std::string &Path() const { return path_; }

private:
    TempDir dir_;
    std::string path_;
};

// The whole file; empty when it cannot be read.
Bytes ReadFile(const std::string &path);
std::string ReadText(const std::string &path);
// Creates or replaces the file; throws std::runtime_error when it cannot be written.
void WriteFile(const std::string &path, const Bytes &bytes);
void WriteText(const std::string &path, const std::string &text);

// Names of the entries of a folder, without "." and "..".
std::set<std::string> Listing(const std::string &folder);

// A temporary file holding the bytes, positioned at its start: a real file rather than
// fmemopen, so sizes, seeks past the end and short reads behave as on disk. The caller
// fcloses it; throws when no temporary file can be made.
FILE *OpenBytes(const Bytes &bytes);

} // namespace support
