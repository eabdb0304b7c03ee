#include "image/codecs/CfJpegStreamManager.h"

#include <jerror.h>

#include "image/CfStream.h"

namespace {

CfJpegStreamManager *Manager(j_decompress_ptr cinfo) {
    return reinterpret_cast<CfJpegStreamManager *>(cinfo->src);
}

} // namespace

void CfJpegStreamManager::Init(CfStream *source, JOCTET *bufferOfBufferSize) {
    pub.init_source = &InitSource;
    pub.fill_input_buffer = &FillInputBuffer;
    pub.skip_input_data = &SkipInputData;
    pub.resync_to_restart = &jpeg_resync_to_restart;
    pub.term_source = &TermSource;
    pub.bytes_in_buffer = 0;
    pub.next_input_byte = nullptr;
    stream = source;
    buffer = bufferOfBufferSize;
    startOfFile = FALSE;
    reachedEnd = FALSE;
}

void CfJpegStreamManager::InitSource(j_decompress_ptr cinfo) {
    Manager(cinfo)->startOfFile = TRUE;
}

boolean CfJpegStreamManager::FillInputBuffer(j_decompress_ptr cinfo) {
    CfJpegStreamManager *self = Manager(cinfo);
    size_t count = self->stream->Read(self->buffer, 1, BufferSize);
    if (count == 0) {
        if (self->startOfFile) {
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        }
        self->reachedEnd = TRUE;
        WARNMS(cinfo, JWRN_JPEG_EOF);
        self->buffer[0] = 0xFF;
        self->buffer[1] = JPEG_EOI;
        count = 2;
    }
    self->pub.next_input_byte = self->buffer;
    self->pub.bytes_in_buffer = count;
    self->startOfFile = FALSE;
    return TRUE;
}

void CfJpegStreamManager::SkipInputData(j_decompress_ptr cinfo, long count) {
    if (count <= 0) {
        return;
    }
    CfJpegStreamManager *self = Manager(cinfo);
    while (static_cast<unsigned long>(count) > self->pub.bytes_in_buffer) {
        count -= static_cast<long>(self->pub.bytes_in_buffer);
        FillInputBuffer(cinfo);
    }
    self->pub.next_input_byte += count;
    self->pub.bytes_in_buffer -= static_cast<size_t>(count);
}

void CfJpegStreamManager::TermSource(j_decompress_ptr) {}
