#pragma once

#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

class CfStream;

// libjpeg data source over a CfStream. Standard layout and trivially destructible: libjpeg's
// error exit may jump across its callbacks. The buffer belongs to the caller, who allocates
// BufferSize bytes before decoding and frees them on every way out. The source never suspends:
// at the end of the stream it hands the library a fake end-of-image marker (after a warning),
// and an empty stream is a library error; reachedEnd then tells that the data ran out.
struct CfJpegStreamManager {
    static constexpr size_t BufferSize = 4096;

    jpeg_source_mgr pub;
    CfStream *stream;
    JOCTET *buffer;
    boolean startOfFile;
    boolean reachedEnd; // the stream had no more bytes when the library asked for some

    void Init(CfStream *source, JOCTET *bufferOfBufferSize);

    static void InitSource(j_decompress_ptr cinfo);
    static boolean FillInputBuffer(j_decompress_ptr cinfo);
    static void SkipInputData(j_decompress_ptr cinfo, long count);
    static void TermSource(j_decompress_ptr cinfo);
};
