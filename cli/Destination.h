// Where folvane-pdf's document goes: the file the user named, or standard output through a
// buffer file that is copied out only once the document is complete.
#pragma once

#include <string>

namespace folvane::cli {

class Destination {
public:
    Destination() = default;
    ~Destination(); // removes the buffer file, if any
    Destination(const Destination &) = delete;
    Destination &operator=(const Destination &) = delete;

    // Checks `output` ("-": standard output) before anything is written: an existing file the
    // user cannot write is not replaced unless `force` (as cp does); standard output must not
    // be a terminal. For "-", creates the buffer file. False with `error` set otherwise.
    bool prepare(const std::string &output, bool force, std::string &error);

    // The path the document is written to.
    const std::string &path() const { return path_; }

    // After the document is complete: copies the buffer to standard output. False with
    // `error` set when that fails.
    bool deliver(std::string &error);

private:
    std::string path_;
    bool toStdout_ = false;
};

} // namespace folvane::cli
