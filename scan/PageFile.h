// One page's file while it is written: a hidden partial file in the page folder, renamed to the
// page's own name (never over an existing file) only when complete and flushed to disk, and
// removed when the page is given up.
#pragma once

#include <string>

#include "scan/PageFolder.h"

namespace folvane::scan {

class PageFile {
public:
    // Creates the partial file of the folder's next page. Throws PageWriteError.
    PageFile(const PageFolder &folder, const char *extension);
    ~PageFile(); // removes the partial file unless committed
    PageFile(const PageFile &) = delete;
    PageFile &operator=(const PageFile &) = delete;

    int descriptor() const { return fd_; }
    // The name the page is meant to get, for messages.
    std::string intendedPath() const;

    // Flushes the file to disk, gives it the page's name (the next free number, should another
    // file have taken the intended one meanwhile) and flushes the folder, so the page survives
    // a crash from here on. Returns the page's path. Throws PageWriteError.
    std::string commit();

private:
    const PageFolder &folder_;
    std::string extension_;
    int number_;
    std::string partial_;
    int fd_ = -1;
    bool committed_ = false;
};

} // namespace folvane::scan
