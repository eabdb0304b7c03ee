#include "pdfw/tiff/TiffFile.h"

#include <cstdarg>
#include <cstdio>
#include <optional>
#include <string>
#include <unistd.h>
#include <utility>

#include "pdfw/core/Memory.h"
#include "pdfw/core/PdfwError.h"
#include "pdfw/core/PictureLimits.h"
#include "pdfw/tiff/TiffRawDirectory.h"

namespace folvane::pdfw {

namespace {

// Keeps the first message in `text` (of 512 bytes).
void keepFirst(char *text, const char *module, const char *format, va_list args) {
    if (text[0] == '\0') {
        int used = std::snprintf(text, 512, "%s: ", module ? module : "libtiff");
        if (used > 0 && used < 512) {
            std::vsnprintf(text + used, 512 - static_cast<std::size_t>(used), format, args);
        }
    }
}

// Both return 1, handled: nothing reaches libtiff's global handlers.
int keepError(TIFF *, void *user, const char *module, const char *format, va_list args) {
    keepFirst(static_cast<TiffFile::Messages *>(user)->error, module, format, args);
    return 1;
}

int keepWarning(TIFF *, void *user, const char *module, const char *format, va_list args) {
    keepFirst(static_cast<TiffFile::Messages *>(user)->warning, module, format, args);
    return 1;
}

} // namespace

TiffFile::TiffFile(const InputFile &file, int page) : path_(file.path()), pageNumber_(page) {
    open(file);
    if (page > 1 && !TIFFSetDirectory(tiff_, static_cast<tdir_t>(page - 1))) {
        const tdir_t pages = TIFFNumberOfDirectories(tiff_);
        if (static_cast<tdir_t>(page) <= pages) {
            TIFFClose(tiff_);
            tiff_ = nullptr;
            failPage("its directory cannot be read (it has no entries or is damaged)");
        }
        Problem missing = problemWith(PDFW_PROBLEM_NO_SUCH_PAGE, path_);
        missing.numbers[0] = page;
        missing.numbers[1] = pages;
        TIFFClose(tiff_);
        tiff_ = nullptr;
        fail(PDFW_VALUE_ERROR, std::move(missing));
    }
    try {
        readTags();
        checkOwnStrip(file);
    } catch (...) {
        TIFFClose(tiff_);
        tiff_ = nullptr;
        throw;
    }
}

void TiffFile::open(const InputFile &file) {
    TIFFOpenOptions *options = TIFFOpenOptionsAlloc();
    if (!options) {
        fail(PDFW_MEMORY_ERROR, problemWith(PDFW_PROBLEM_MEMORY, path_));
    }
    TIFFOpenOptionsSetErrorHandlerExtR(options, keepError, &messages_);
    TIFFOpenOptionsSetWarningHandlerExtR(options, keepWarning, &messages_);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, static_cast<tmsize_t>(kMaxBufferBytes));
    int fd = ::dup(file.fd());
    // The copy shares the file position with the original, which an earlier reader moved.
    if (fd >= 0 && ::lseek(fd, 0, SEEK_SET) != 0) {
        ::close(fd);
        fd = -1;
    }
    if (fd >= 0) {
        // "m": no memory mapping, so a file truncated under us gives an error, not a signal.
        tiff_ = TIFFFdOpenExt(fd, path_.c_str(), "rm", options);
        if (!tiff_) {
            ::close(fd);
        }
    }
    TIFFOpenOptionsFree(options);
    if (!tiff_) {
        // libtiff words an empty directory as an allocation that failed.
        if (firstDirectoryEntries(file) == std::uint64_t{0}) {
            fail(PDFW_SYNTAX_ERROR,
                 damagedFile(path_, "TIFF",
                             "its first directory has no entries, so it holds no "
                             "usable page"));
        }
        failRead("not a readable TIFF file");
    }
}

// libtiff takes a one-strip page's stored byte count for bogus when it is too small for an
// uncompressed strip (or 0), and reads as many bytes as the page needs from the strip's start
// instead: past the strip's own bytes, into the next page's. A page reads only its own strip.
void TiffFile::checkOwnStrip(const InputFile &file) {
    // libtiff may have cut a large strip into several of its own: the file's count is read.
    // A page beyond the largest side is refused as such when it is used.
    if (page_.tiled || page_.width > kMaxPictureSide || page_.height > kMaxPictureSide) {
        return;
    }
    std::optional<std::uint64_t> stored = storedSingleStripBytes(file, TIFFCurrentDirOffset(tiff_));
    if (!stored) {
        return;
    }
    const std::uint64_t needed =
        page_.compression != COMPRESSION_NONE
            ? 1
            : (std::uint64_t{page_.width} * page_.samplesPerPixel * page_.bitsPerSample + 7) / 8 *
                  page_.height;
    if (*stored < needed) {
        std::string pixels = std::to_string(page_.width) + " x " + std::to_string(page_.height);
        failPage(
            "its strip holds " + std::to_string(*stored) + " bytes" +
            (page_.compression == COMPRESSION_NONE
                 ? ", fewer than its " + pixels + " pixels need (" + std::to_string(needed) + ")"
                 : ""));
    }
}

TiffFile::~TiffFile() {
    if (tiff_) {
        TIFFClose(tiff_);
    }
}

void TiffFile::failRead(const std::string &what) const {
    std::string message = what;
    // libtiff's error says why; some failures come only with a warning before them.
    std::string why = messages_.error[0] != '\0' ? messages_.error : messages_.warning;
    // Reading a whole strip, libtiff names the row before the first (its "no row yet").
    const std::string noRow = " at scanline 4294967295";
    if (std::size_t at = why.find(noRow); at != std::string::npos) {
        why.erase(at, noRow.size());
    }
    if (!why.empty()) {
        message += " (" + why + ")";
    }
    failPage(message);
}

void TiffFile::failPage(const std::string &how) const {
    Problem problem = damagedFile(path_, "TIFF", how);
    problem.page = pageNumber_;
    fail(PDFW_SYNTAX_ERROR, std::move(problem));
}

void TiffFile::readTags() {
    std::uint32_t width = 0, height = 0;
    if (!TIFFGetField(tiff_, TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(tiff_, TIFFTAG_IMAGELENGTH, &height) || width == 0 || height == 0) {
        failRead("no image size");
    }
    page_.width = width;
    page_.height = height;
    std::uint16_t value = 0;
    auto get = [&](ttag_t tag, int &field) {
        if (TIFFGetFieldDefaulted(tiff_, tag, &value)) {
            field = value;
        }
    };
    get(TIFFTAG_BITSPERSAMPLE, page_.bitsPerSample);
    get(TIFFTAG_SAMPLESPERPIXEL, page_.samplesPerPixel);
    get(TIFFTAG_COMPRESSION, page_.compression);
    get(TIFFTAG_PLANARCONFIG, page_.planar);
    get(TIFFTAG_FILLORDER, page_.fillOrder);
    get(TIFFTAG_SAMPLEFORMAT, page_.sampleFormat);
    get(TIFFTAG_INKSET, page_.inkSet);
    get(TIFFTAG_ORIENTATION, page_.orientation);
    if (TIFFGetField(tiff_, TIFFTAG_PHOTOMETRIC, &value)) {
        page_.photometric = value;
    }
    std::uint32_t t4 = 0;
    if (TIFFGetField(tiff_, TIFFTAG_GROUP3OPTIONS, &t4)) {
        page_.t4Options = t4;
    }
    std::uint16_t count = 0;
    std::uint16_t *kinds = nullptr;
    if (TIFFGetFieldDefaulted(tiff_, TIFFTAG_EXTRASAMPLES, &count, &kinds) && count > 0 && kinds) {
        page_.extraSamples = count;
        page_.firstExtraKind = kinds[0];
    }
    page_.tiled = TIFFIsTiled(tiff_) != 0;
}

} // namespace folvane::pdfw
