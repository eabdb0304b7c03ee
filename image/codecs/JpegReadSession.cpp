#include "image/codecs/JpegReadSession.h"

#include <cstring>

JpegReadSession::JpegReadSession(CfStream &stream, JOCTET *buffer) {
    std::memset(&m_cinfo, 0, sizeof m_cinfo);
    m_errors.Init();
    m_source.Init(&stream, buffer);
    m_cinfo.err = &m_errors.pub;
}

JpegReadSession::~JpegReadSession() {
    if (m_created) {
        jpeg_destroy_decompress(&m_cinfo);
    }
}

bool JpegReadSession::Create(long memoryCeiling) {
    if (setjmp(m_errors.jump)) {
        return false;
    }
    jpeg_create_decompress(&m_cinfo);
    m_created = true;
    m_cinfo.src = &m_source.pub;
    m_cinfo.mem->max_memory_to_use = memoryCeiling;
    return true;
}

bool JpegReadSession::ReadHeader() {
    if (setjmp(m_errors.jump)) {
        return false;
    }
    jpeg_read_header(&m_cinfo, TRUE);
    return true;
}

bool JpegReadSession::CalcOutputDimensions() {
    if (setjmp(m_errors.jump)) {
        return false;
    }
    jpeg_calc_output_dimensions(&m_cinfo);
    return true;
}

bool JpegReadSession::HasMultipleScans(bool *multiple) {
    if (setjmp(m_errors.jump)) {
        return false;
    }
    *multiple = jpeg_has_multiple_scans(&m_cinfo) != FALSE;
    return true;
}

bool JpegReadSession::StartDecompress() {
    if (setjmp(m_errors.jump)) {
        return false;
    }
    jpeg_start_decompress(&m_cinfo);
    return true;
}

bool JpegReadSession::AllocateRow(JDIMENSION length, JSAMPROW *row) {
    if (setjmp(m_errors.jump)) {
        return false;
    }
    JSAMPARRAY rows = (*m_cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&m_cinfo),
                                                   JPOOL_IMAGE, length, 1);
    *row = rows[0];
    return true;
}

bool JpegReadSession::ReadScanline(JSAMPROW row) {
    if (setjmp(m_errors.jump)) {
        return false;
    }
    if (jpeg_read_scanlines(&m_cinfo, &row, 1) != 1) {
        std::strcpy(m_errors.message, "the library delivered no scanline");
        return false;
    }
    return true;
}

bool JpegReadSession::FinishDecompress() {
    if (setjmp(m_errors.jump)) {
        return false;
    }
    jpeg_finish_decompress(&m_cinfo);
    return true;
}
