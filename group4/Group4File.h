// A Group 4 TIFF file written a row at a time: one strip (so that a PDF can take the coded data
// as they are), the resolution in XResolution/YResolution/ResolutionUnit when the page has one.
#pragma once

#include <string>

#include "group4/Group4Page.h"

struct tiff; // libtiff's TIFF

namespace folvane::group4 {

class Group4File {
public:
    Group4File() = default;
    ~Group4File();
    Group4File(const Group4File &) = delete;
    Group4File &operator=(const Group4File &) = delete;

    // Starts the file on a duplicate of `fd` (the caller keeps `fd` open and closes it).
    bool open(int fd, const Group4Page &page);
    // The next of the page's rows, in order.
    bool writeRow(const unsigned char *row);
    // Writes the end of the strip and the directory, and closes the file.
    bool finish();

    // Why the last call returned false: libtiff's first error ("module: text"), or what failed.
    const std::string &error() const { return error_; }

private:
    bool fail(const char *what);

    ::tiff *tiff_ = nullptr;
    unsigned row_ = 0;
    std::string error_;
};

} // namespace folvane::group4
