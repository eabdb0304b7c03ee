// Client procedures that let libtiff read a TIFF through a CfStream.
//
// The stream is the client handle. TIFF offsets go to the stream unchanged, so a TIFF is read
// correctly only when it starts at stream position 0. Nothing is memory-mapped: libtiff reads
// every byte through TiffStreamRead. The stream is never closed here; its owner closes it.
#pragma once

#include <tiffio.h>

class CfStream;

tmsize_t TiffStreamRead(thandle_t stream, void *buffer, tmsize_t size);
tmsize_t TiffStreamWrite(thandle_t stream, void *buffer, tmsize_t size);
// An offset of all ones, or one the stream cannot address, gives all ones without seeking.
toff_t TiffStreamSeek(thandle_t stream, toff_t offset, int origin);
int TiffStreamClose(thandle_t stream);
toff_t TiffStreamSize(thandle_t stream);
int TiffStreamMap(thandle_t stream, void **base, toff_t *size);
void TiffStreamUnmap(thandle_t stream, void *base, toff_t size);

// What libtiff reported while a handle was open: its errors, and its warnings that a strip's
// data ended early (after which libtiff goes on, filling a fax or JPEG strip's remaining rows
// with white or grey), each counted with the first kept. Other warnings are dropped.
struct TiffMessages {
    int errors = 0;
    int dataEnded = 0;
    char firstError[200] = "";
    char firstDataEnded[200] = "";
};

// Opens libtiff over the stream with handlers that print nothing (with messages given, they
// are counted and the first kept there; the object must outlive the handle), and with
// libtiff's own allocations capped. Returns null when the stream holds no readable TIFF header
// and first directory. The caller closes the handle with TIFFClose.
TIFF *TiffOpenStream(CfStream *stream, const char *mode, TiffMessages *messages = nullptr);
