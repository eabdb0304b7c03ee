#include "image/codecs/PngReadSession.h"

#include <csetjmp>
#include <cstdio>

#include "image/CfStream.h"

namespace {

// libpng's allocations for one ancillary chunk (an ICC profile, say), and how many such chunks
// it keeps, whatever the file claims.
constexpr png_alloc_size_t kChunkBytesCeiling = png_alloc_size_t{8} << 20;
constexpr png_uint_32 kChunkCountCeiling = 1000;

// Text chunks are ignored, and so are colour profiles, suggested palettes and EXIF blocks: the
// picture needs none of them, and skipping them means they are never decompressed.
constexpr png_byte kSkippedChunks[] = {'t', 'E', 'X', 't', '\0', 'z', 'T', 'X', 't', '\0',
                                       'i', 'T', 'X', 't', '\0', 'i', 'C', 'C', 'P', '\0',
                                       's', 'P', 'L', 'T', '\0', 'e', 'X', 'I', 'f', '\0'};
constexpr int kSkippedChunkCount = sizeof kSkippedChunks / 5;

void storeError(png_structp png, png_const_charp message) {
    auto *text = static_cast<char *>(png_get_error_ptr(png));
    std::snprintf(text, 200, "%s", message ? message : "unknown libpng error");
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

void readFromStream(png_structp png, png_bytep data, size_t length) {
    auto *stream = static_cast<CfStream *>(png_get_io_ptr(png));
    if (stream->Read(data, 1, length) != length) {
        png_error(png, "the file ends before the image does");
    }
}

} // namespace

int pngOutputChannels(PngOutput output) {
    switch (output) {
    case PngOutput::Index:
    case PngOutput::Grey:
        return 1;
    case PngOutput::GreyAlpha:
        return 2;
    case PngOutput::Bgr:
        return 3;
    case PngOutput::Bgra:
        return 4;
    }
    return 4;
}

PngReadSession::PngReadSession(CfStream &stream) {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, message_, storeError, ignoreWarning);
    if (png_ == nullptr) {
        return;
    }
    info_ = png_create_info_struct(png_);
    if (info_ == nullptr) {
        return;
    }
    png_set_read_fn(png_, &stream, readFromStream);
    png_set_sig_bytes(png_, 8);
    png_set_chunk_malloc_max(png_, kChunkBytesCeiling);
    png_set_chunk_cache_max(png_, kChunkCountCeiling);
    png_set_keep_unknown_chunks(png_, PNG_HANDLE_CHUNK_NEVER, kSkippedChunks, kSkippedChunkCount);
}

PngReadSession::~PngReadSession() {
    if (png_ != nullptr) {
        png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr);
    }
}

bool PngReadSession::readInfo() {
    if (setjmp(png_jmpbuf(png_))) {
        return false;
    }
    png_read_info(png_, info_);
    return true;
}

uint32_t PngReadSession::width() const {
    return png_get_image_width(png_, info_);
}

uint32_t PngReadSession::height() const {
    return png_get_image_height(png_, info_);
}

int PngReadSession::bitDepth() const {
    return png_get_bit_depth(png_, info_);
}

int PngReadSession::colorType() const {
    return png_get_color_type(png_, info_);
}

bool PngReadSession::interlaced() const {
    return png_get_interlace_type(png_, info_) != PNG_INTERLACE_NONE;
}

bool PngReadSession::hasTransparency() const {
    return png_get_valid(png_, info_, PNG_INFO_tRNS) != 0;
}

const png_color *PngReadSession::palette(int *count) const {
    png_colorp palette = nullptr;
    *count = 0;
    if (png_get_PLTE(png_, info_, &palette, count) == 0) {
        *count = 0;
        return nullptr;
    }
    return palette;
}

bool PngReadSession::pixelsPerMetre(uint32_t *x, uint32_t *y) const {
    png_uint_32 resX = 0;
    png_uint_32 resY = 0;
    int unit = PNG_RESOLUTION_UNKNOWN;
    if (png_get_pHYs(png_, info_, &resX, &resY, &unit) == 0 || unit != PNG_RESOLUTION_METER) {
        return false;
    }
    *x = resX;
    *y = resY;
    return true;
}

bool PngReadSession::setOutput(PngOutput output) {
    if (!applyTransformations(output, true)) {
        return false;
    }
    rowBytes_ = png_get_rowbytes(png_, info_);
    return true;
}

bool PngReadSession::setPassOutput(PngOutput output) {
    if (!applyTransformations(output, false)) {
        return false;
    }
    rowBytes_ = png_get_rowbytes(png_, info_);
    return true;
}

bool PngReadSession::applyTransformations(PngOutput output, bool wholeRows) {
    if (setjmp(png_jmpbuf(png_))) {
        return false;
    }
    if (output == PngOutput::Index) {
        png_set_packing(png_);
    } else {
        png_set_expand(png_); // palette to colour, grey below 8 bits to bytes, tRNS to alpha
    }
    png_set_scale_16(png_);
    if (output == PngOutput::Bgr || output == PngOutput::Bgra) {
        png_set_bgr(png_);
    }
    if (wholeRows) {
        png_set_interlace_handling(png_);
    }
    png_read_update_info(png_, info_);
    return true;
}

bool PngReadSession::readRow(uint8_t *row) {
    if (setjmp(png_jmpbuf(png_))) {
        return false;
    }
    png_read_row(png_, row, nullptr);
    return true;
}

bool PngReadSession::readImage(uint8_t **rows) {
    if (setjmp(png_jmpbuf(png_))) {
        return false;
    }
    png_read_image(png_, rows);
    return true;
}
