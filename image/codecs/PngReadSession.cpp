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

void StoreError(png_structp png, png_const_charp message) {
    auto *text = static_cast<char *>(png_get_error_ptr(png));
    std::snprintf(text, 200, "%s", message ? message : "unknown libpng error");
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

void ReadFromStream(png_structp png, png_bytep data, size_t length) {
    auto *stream = static_cast<CfStream *>(png_get_io_ptr(png));
    if (stream->Read(data, 1, length) != length) {
        png_error(png, "the file ends before the image does");
    }
}

} // namespace

int PngOutputChannels(PngOutput output) {
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
    m_png = png_create_read_struct(PNG_LIBPNG_VER_STRING, m_message, StoreError, IgnoreWarning);
    if (m_png == nullptr) {
        return;
    }
    m_info = png_create_info_struct(m_png);
    if (m_info == nullptr) {
        return;
    }
    png_set_read_fn(m_png, &stream, ReadFromStream);
    png_set_sig_bytes(m_png, 8);
    png_set_chunk_malloc_max(m_png, kChunkBytesCeiling);
    png_set_chunk_cache_max(m_png, kChunkCountCeiling);
    png_set_keep_unknown_chunks(m_png, PNG_HANDLE_CHUNK_NEVER, kSkippedChunks, kSkippedChunkCount);
}

PngReadSession::~PngReadSession() {
    if (m_png != nullptr) {
        png_destroy_read_struct(&m_png, m_info != nullptr ? &m_info : nullptr, nullptr);
    }
}

bool PngReadSession::ReadInfo() {
    if (setjmp(png_jmpbuf(m_png))) {
        return false;
    }
    png_read_info(m_png, m_info);
    return true;
}

uint32_t PngReadSession::Width() const {
    return png_get_image_width(m_png, m_info);
}

uint32_t PngReadSession::Height() const {
    return png_get_image_height(m_png, m_info);
}

int PngReadSession::BitDepth() const {
    return png_get_bit_depth(m_png, m_info);
}

int PngReadSession::ColorType() const {
    return png_get_color_type(m_png, m_info);
}

bool PngReadSession::Interlaced() const {
    return png_get_interlace_type(m_png, m_info) != PNG_INTERLACE_NONE;
}

bool PngReadSession::HasTransparency() const {
    return png_get_valid(m_png, m_info, PNG_INFO_tRNS) != 0;
}

const png_color *PngReadSession::Palette(int *count) const {
    png_colorp palette = nullptr;
    *count = 0;
    if (png_get_PLTE(m_png, m_info, &palette, count) == 0) {
        *count = 0;
        return nullptr;
    }
    return palette;
}

bool PngReadSession::PixelsPerMetre(uint32_t *x, uint32_t *y) const {
    png_uint_32 resX = 0;
    png_uint_32 resY = 0;
    int unit = PNG_RESOLUTION_UNKNOWN;
    if (png_get_pHYs(m_png, m_info, &resX, &resY, &unit) == 0 || unit != PNG_RESOLUTION_METER) {
        return false;
    }
    *x = resX;
    *y = resY;
    return true;
}

bool PngReadSession::SetOutput(PngOutput output) {
    if (!ApplyTransformations(output, true)) {
        return false;
    }
    m_rowBytes = png_get_rowbytes(m_png, m_info);
    return true;
}

bool PngReadSession::SetPassOutput(PngOutput output) {
    if (!ApplyTransformations(output, false)) {
        return false;
    }
    m_rowBytes = png_get_rowbytes(m_png, m_info);
    return true;
}

bool PngReadSession::ApplyTransformations(PngOutput output, bool wholeRows) {
    if (setjmp(png_jmpbuf(m_png))) {
        return false;
    }
    if (output == PngOutput::Index) {
        png_set_packing(m_png);
    } else {
        png_set_expand(m_png); // palette to colour, grey below 8 bits to bytes, tRNS to alpha
    }
    png_set_scale_16(m_png);
    if (output == PngOutput::Bgr || output == PngOutput::Bgra) {
        png_set_bgr(m_png);
    }
    if (wholeRows) {
        png_set_interlace_handling(m_png);
    }
    png_read_update_info(m_png, m_info);
    return true;
}

bool PngReadSession::ReadRow(uint8_t *row) {
    if (setjmp(png_jmpbuf(m_png))) {
        return false;
    }
    png_read_row(m_png, row, nullptr);
    return true;
}

bool PngReadSession::ReadImage(uint8_t **rows) {
    if (setjmp(png_jmpbuf(m_png))) {
        return false;
    }
    png_read_image(m_png, rows);
    return true;
}
