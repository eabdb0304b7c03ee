#include "scan/PngPageWriter.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <unistd.h>

namespace folvane::scan {

namespace {

png_uint_32 pixelsPerMetre(double dpi) {
    return static_cast<png_uint_32>(std::lround(dpi / 0.0254));
}

} // namespace

void PngPageWriter::onError(png_structp png, png_const_charp message) {
    auto *self = static_cast<PngPageWriter *>(png_get_error_ptr(png));
    std::snprintf(self->message_, sizeof self->message_, "%s", message);
    png_longjmp(png, 1);
}

PngPageWriter::PngPageWriter(const FrameLayout &layout, uint32_t height, Resolution resolution,
                             int fd) {
    const int copy = ::dup(fd);
    file_ = copy < 0 ? nullptr : ::fdopen(copy, "wb");
    if (file_ == nullptr) {
        const int error = errno;
        if (copy >= 0) {
            ::close(copy);
        }
        throw PageWriteError(std::strerror(error));
    }
    png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, this, onError, onWarning);
    info_ = png_ != nullptr ? png_create_info_struct(png_) : nullptr;
    if (info_ == nullptr) {
        release();
        fail("libpng cannot start");
    }
    if (!begin(layout, height, resolution)) {
        release();
        fail(message_);
    }
}

PngPageWriter::~PngPageWriter() {
    release();
}

void PngPageWriter::release() {
    if (png_ != nullptr) {
        png_destroy_write_struct(&png_, info_ != nullptr ? &info_ : nullptr);
    }
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

void PngPageWriter::fail(const char *what) {
    // A short write shows up in libpng as "Write Error"; errno says why.
    if (std::strcmp(what, "Write Error") == 0 && errno != 0) {
        throw PageWriteError(std::strerror(errno));
    }
    throw PageWriteError(what);
}

bool PngPageWriter::begin(const FrameLayout &layout, uint32_t height, Resolution resolution) {
    if (setjmp(png_jmpbuf(png_))) {
        return false;
    }
    png_init_io(png_, file_);
    png_set_IHDR(png_, info_, layout.width, height, layout.depth,
                 layout.channels == 3 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_GRAY,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (resolution.x > 0 && resolution.y > 0) {
        png_set_pHYs(png_, info_, pixelsPerMetre(resolution.x), pixelsPerMetre(resolution.y),
                     PNG_RESOLUTION_METER);
    }
    png_write_info(png_, info_);
    // SANE sends 16-bit samples in the host's byte order; PNG stores them big-endian.
    const uint16_t probe = 1;
    if (layout.depth == 16 && *reinterpret_cast<const uint8_t *>(&probe) == 1) {
        png_set_swap(png_);
    }
    return true;
}

bool PngPageWriter::passRow(const uint8_t *row) {
    if (setjmp(png_jmpbuf(png_))) {
        return false;
    }
    png_write_row(png_, row);
    return true;
}

bool PngPageWriter::end() {
    if (setjmp(png_jmpbuf(png_))) {
        return false;
    }
    png_write_end(png_, info_);
    return true;
}

void PngPageWriter::writeRow(const uint8_t *row) {
    errno = 0;
    if (!passRow(row)) {
        fail(message_);
    }
}

void PngPageWriter::finish() {
    errno = 0;
    if (!end()) {
        fail(message_);
    }
    FILE *file = file_;
    file_ = nullptr;
    if (std::fflush(file) != 0 || std::ferror(file)) {
        const int error = errno;
        std::fclose(file);
        throw PageWriteError(std::strerror(error));
    }
    if (std::fclose(file) != 0) {
        throw PageWriteError(std::strerror(errno));
    }
}

} // namespace folvane::scan
