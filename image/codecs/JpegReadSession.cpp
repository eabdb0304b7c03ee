#include "image/codecs/JpegReadSession.h"

#include <cstring>

JpegReadSession::JpegReadSession(CfStream &stream, JOCTET *buffer) {
    std::memset(&cinfo_, 0, sizeof cinfo_);
    errors_.Init();
    source_.Init(&stream, buffer);
    cinfo_.err = &errors_.pub;
}

JpegReadSession::~JpegReadSession() {
    if (created_) {
        jpeg_destroy_decompress(&cinfo_);
    }
}

bool JpegReadSession::create(long memoryCeiling) {
    if (setjmp(errors_.jump)) {
        return false;
    }
    jpeg_create_decompress(&cinfo_);
    created_ = true;
    cinfo_.src = &source_.pub;
    cinfo_.mem->max_memory_to_use = memoryCeiling;
    return true;
}

bool JpegReadSession::readHeader() {
    if (setjmp(errors_.jump)) {
        return false;
    }
    jpeg_read_header(&cinfo_, TRUE);
    return true;
}

bool JpegReadSession::calcOutputDimensions() {
    if (setjmp(errors_.jump)) {
        return false;
    }
    jpeg_calc_output_dimensions(&cinfo_);
    return true;
}

bool JpegReadSession::hasMultipleScans(bool *multiple) {
    if (setjmp(errors_.jump)) {
        return false;
    }
    *multiple = jpeg_has_multiple_scans(&cinfo_) != FALSE;
    return true;
}

bool JpegReadSession::startDecompress() {
    if (setjmp(errors_.jump)) {
        return false;
    }
    jpeg_start_decompress(&cinfo_);
    return true;
}

bool JpegReadSession::allocateRow(JDIMENSION length, JSAMPROW *row) {
    if (setjmp(errors_.jump)) {
        return false;
    }
    JSAMPARRAY rows = (*cinfo_.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo_),
                                                  JPOOL_IMAGE, length, 1);
    *row = rows[0];
    return true;
}

bool JpegReadSession::readScanline(JSAMPROW row) {
    if (setjmp(errors_.jump)) {
        return false;
    }
    if (jpeg_read_scanlines(&cinfo_, &row, 1) != 1) {
        std::strcpy(errors_.message, "the library delivered no scanline");
        return false;
    }
    return true;
}

bool JpegReadSession::finishDecompress() {
    if (setjmp(errors_.jump)) {
        return false;
    }
    jpeg_finish_decompress(&cinfo_);
    return true;
}
