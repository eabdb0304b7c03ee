// libjpeg kept at arm's length for the JPEG decoder.
//
// The session owns the decompressor, its error manager and its data source over a CfStream.
// Every libjpeg call that can fail runs inside one of the small member functions below: each
// arms the error manager's jump, makes its call and returns false when the library failed.
// Their frames hold nothing with a destructor, so the jump skips no cleanup; the caller raises
// the failure in C++ once the wrapper has returned. The destructor releases the library's
// memory on every way out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

#include "image/codecs/CfJpegErrorManager.h"
#include "image/codecs/CfJpegStreamManager.h"

class CfStream;

class JpegReadSession {
public:
    // buffer holds CfJpegStreamManager::BufferSize bytes and outlives the session.
    JpegReadSession(CfStream &stream, JOCTET *buffer);
    ~JpegReadSession();
    JpegReadSession(const JpegReadSession &) = delete;
    JpegReadSession &operator=(const JpegReadSession &) = delete;

    jpeg_decompress_struct &info() { return cinfo_; }
    // False when the decompressor could not be made.
    bool ready() const { return created_; }

    // Creates the decompressor with a ceiling on the library's own working memory.
    bool create(long memoryCeiling);
    bool readHeader();
    bool calcOutputDimensions();
    // Whether the file has several scans (progressive or multi-scan), which makes the library
    // keep every coefficient of the picture.
    bool hasMultipleScans(bool *multiple);
    bool startDecompress();
    // One row of `length` samples in the library's image pool, freed with the session.
    bool allocateRow(JDIMENSION length, JSAMPROW *row);
    // Reads the next scanline; false also when the library delivered none.
    bool readScanline(JSAMPROW row);
    bool finishDecompress();

    // True once the stream ran out of bytes while the library still wanted some: the library
    // then goes on as if the image ended there.
    bool reachedEnd() const { return source_.reachedEnd != FALSE; }

    // The library's reason for the last failed call.
    const char *message() const { return errors_.message; }

private:
    jpeg_decompress_struct cinfo_;
    CfJpegErrorManager errors_;
    CfJpegStreamManager source_;
    bool created_ = false;
};
