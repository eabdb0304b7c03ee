#include "group4/Group4File.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "group4/Group4Tiff.h"

namespace folvane::group4 {

Group4File::~Group4File() {
    if (tiff_ != nullptr) {
        TIFFClose(tiff_);
    }
}

bool Group4File::fail(const char *what) {
    if (error_.empty()) {
        error_ = what;
    }
    return false;
}

bool Group4File::open(int fd, const Group4Page &page) {
    const int copy = ::dup(fd);
    if (copy < 0) {
        return fail(std::strerror(errno));
    }
    TIFFOpenOptions *options = openOptionsKeepingError(error_);
    if (options == nullptr) {
        ::close(copy);
        return fail("out of memory");
    }
    tiff_ = TIFFFdOpenExt(copy, "page", "w", options);
    TIFFOpenOptionsFree(options);
    if (tiff_ == nullptr) {
        ::close(copy);
        return fail("libtiff cannot start");
    }
    if (!setGroup4Tags(tiff_, page)) {
        return fail("cannot set up the TIFF page");
    }
    return true;
}

bool Group4File::writeRow(const unsigned char *row) {
    // libtiff takes a writable row but only reads it.
    if (tiff_ == nullptr ||
        TIFFWriteScanline(tiff_, const_cast<unsigned char *>(row), row_, 0) < 0) {
        return fail("cannot write a row");
    }
    ++row_;
    return true;
}

bool Group4File::finish() {
    if (tiff_ == nullptr) {
        return fail("the file is not open");
    }
    // TIFFClose cannot report a failure; TIFFFlush writes the strip's end and the directory.
    errno = 0;
    const int flushed = TIFFFlush(tiff_);
    TIFFClose(tiff_);
    tiff_ = nullptr;
    if (flushed != 1) {
        return fail(errno != 0 ? std::strerror(errno) : "cannot finish the file");
    }
    return true;
}

} // namespace folvane::group4
