#include "scan/TiffPageWriter.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace folvane::scan {

int TiffPageWriter::OnError(TIFF *, void *self, const char *module, const char *format,
                            va_list args) {
    char text[256];
    std::vsnprintf(text, sizeof text, format, args);
    auto *writer = static_cast<TiffPageWriter *>(self);
    if (writer->message_.empty()) {
        writer->message_ = std::string(module != nullptr ? module : "libtiff") + ": " + text;
    }
    return 1;
}

TiffPageWriter::TiffPageWriter(const FrameLayout &layout, uint32_t height, Resolution resolution,
                               int fd) {
    const int copy = ::dup(fd);
    if (copy < 0) {
        throw PageWriteError(std::strerror(errno));
    }
    TIFFOpenOptions *options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, this);
    tiff_ = TIFFFdOpenExt(copy, "page", "w", options);
    TIFFOpenOptionsFree(options);
    if (tiff_ == nullptr) {
        ::close(copy);
        Fail("libtiff cannot start");
    }
    bool ok = TIFFSetField(tiff_, TIFFTAG_IMAGEWIDTH, layout.width) &&
              TIFFSetField(tiff_, TIFFTAG_IMAGELENGTH, height) &&
              TIFFSetField(tiff_, TIFFTAG_BITSPERSAMPLE, 1) &&
              TIFFSetField(tiff_, TIFFTAG_SAMPLESPERPIXEL, 1) &&
              TIFFSetField(tiff_, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE) &&
              TIFFSetField(tiff_, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4) &&
              TIFFSetField(tiff_, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB) &&
              TIFFSetField(tiff_, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
              TIFFSetField(tiff_, TIFFTAG_ROWSPERSTRIP, height);
    if (ok && resolution.x > 0 && resolution.y > 0) {
        ok = TIFFSetField(tiff_, TIFFTAG_XRESOLUTION, static_cast<float>(resolution.x)) &&
             TIFFSetField(tiff_, TIFFTAG_YRESOLUTION, static_cast<float>(resolution.y)) &&
             TIFFSetField(tiff_, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    }
    if (!ok) {
        TIFFClose(tiff_);
        tiff_ = nullptr;
        Fail("cannot set up the TIFF page");
    }
}

TiffPageWriter::~TiffPageWriter() {
    if (tiff_ != nullptr) {
        TIFFClose(tiff_);
    }
}

void TiffPageWriter::Fail(const char *what) {
    if (!message_.empty()) {
        throw PageWriteError(message_);
    }
    throw PageWriteError(what);
}

void TiffPageWriter::WriteRow(const uint8_t *row) {
    // libtiff takes a writable row but only reads it.
    if (TIFFWriteScanline(tiff_, const_cast<uint8_t *>(row), row_, 0) < 0) {
        Fail("cannot write a row");
    }
    ++row_;
}

void TiffPageWriter::Finish() {
    // TIFFClose cannot report a failure; TIFFFlush writes the strip's end and the directory.
    const int flushed = TIFFFlush(tiff_);
    TIFFClose(tiff_);
    tiff_ = nullptr;
    if (flushed != 1) {
        Fail(errno != 0 ? std::strerror(errno) : "cannot finish the file");
    }
}

} // namespace folvane::scan
