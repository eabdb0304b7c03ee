#include "image/codecs/CfTiffStreamProcs.h"

#include <cctype>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "image/CfStream.h"

namespace {

constexpr toff_t kSeekFailed = static_cast<toff_t>(-1);

// libtiff never allocates more than this for one buffer of its own (tag arrays, strip and
// tile buffers of its codecs), whatever the file claims. It matches the ceiling of the bitmap.
constexpr tmsize_t kLibtiffAllocationCeiling = tmsize_t{1} << 28;

CfStream *AsStream(thandle_t handle) {
    return static_cast<CfStream *>(handle);
}

// libtiff's messages are never shown: the decoder reports failures in its own words, and a
// caller who asked keeps a count and the first text. Returning 1 keeps libtiff from passing
// the message on to its process-wide handlers.
int IgnoreTiffMessage(TIFF *, void *, const char *, const char *, va_list) {
    return 1;
}

void Keep(int &count, char (&first)[200], const char *module, const char *text) {
    if (count++ == 0) {
        std::snprintf(first, sizeof first, "%.30s: %s", module ? module : "libtiff", text);
    }
}

// libtiff's fax codecs ("Premature EOF at line ...", or "Premature EOL at line ..." for a row
// cut short, which is also all a file whose rows lack their end-of-line codes gets) and libjpeg
// through the JPEG codec ("Premature end of JPEG file", "Corrupt JPEG data: premature end of
// data segment") say so when a strip's data ends before its rows. libtiff hands its warnings
// over as words only, with no code to tell them apart, so this is the one place that reads
// them: every decision about a warning goes through this function.
bool SaysDataEnded(const char *text) {
    std::string lower(text);
    for (char &c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower.find("premature eof") != std::string::npos ||
           lower.find("premature eol") != std::string::npos ||
           lower.find("premature end") != std::string::npos;
}

int KeepTiffWarning(TIFF *, void *data, const char *module, const char *format, va_list ap) {
    char text[160];
    std::vsnprintf(text, sizeof text, format, ap);
    auto *messages = static_cast<TiffMessages *>(data);
    if (SaysDataEnded(text)) {
        Keep(messages->dataEnded, messages->firstDataEnded, module, text);
    }
    return 1;
}

int KeepTiffError(TIFF *, void *data, const char *module, const char *format, va_list ap) {
    char text[160];
    std::vsnprintf(text, sizeof text, format, ap);
    auto *messages = static_cast<TiffMessages *>(data);
    Keep(messages->errors, messages->firstError, module, text);
    return 1;
}

} // namespace

tmsize_t TiffStreamRead(thandle_t stream, void *buffer, tmsize_t size) {
    if (size <= 0) {
        return 0;
    }
    return static_cast<tmsize_t>(AsStream(stream)->Read(buffer, 1, static_cast<size_t>(size)));
}

tmsize_t TiffStreamWrite(thandle_t stream, void *buffer, tmsize_t size) {
    if (size <= 0) {
        return 0;
    }
    return static_cast<tmsize_t>(AsStream(stream)->Write(buffer, 1, static_cast<size_t>(size)));
}

toff_t TiffStreamSeek(thandle_t stream, toff_t offset, int origin) {
    if (offset == kSeekFailed) {
        return kSeekFailed;
    }
    // The stream addresses signed 32-bit positions; libtiff passes relative moves as the bits
    // of a signed 64-bit value. A position the stream cannot reach fails instead of wrapping.
    const auto signedOffset = static_cast<int64_t>(offset);
    if (signedOffset < std::numeric_limits<int32_t>::min() ||
        signedOffset > std::numeric_limits<int32_t>::max()) {
        return kSeekFailed;
    }
    CfStream *s = AsStream(stream);
    if (!s->Seek(static_cast<int32_t>(signedOffset), origin)) {
        return kSeekFailed;
    }
    if (origin == SEEK_SET) {
        return offset;
    }
    const int32_t position = s->Tell();
    return position < 0 ? kSeekFailed : static_cast<toff_t>(position);
}

int TiffStreamClose(thandle_t) {
    return 0;
}

toff_t TiffStreamSize(thandle_t stream) {
    const int32_t size = AsStream(stream)->Size();
    return size < 0 ? kSeekFailed : static_cast<toff_t>(size);
}

int TiffStreamMap(thandle_t, void **, toff_t *) {
    return 0;
}

void TiffStreamUnmap(thandle_t, void *, toff_t) {}

TIFF *TiffOpenStream(CfStream *stream, const char *mode, TiffMessages *messages) {
    TIFFOpenOptions *options = TIFFOpenOptionsAlloc();
    if (options == nullptr) {
        return nullptr;
    }
    TIFFOpenOptionsSetErrorHandlerExtR(options, messages ? KeepTiffError : IgnoreTiffMessage,
                                       messages);
    TIFFOpenOptionsSetWarningHandlerExtR(options, messages ? KeepTiffWarning : IgnoreTiffMessage,
                                         messages);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kLibtiffAllocationCeiling);
    TIFF *tif = TIFFClientOpenExt("TIFF IMAGE", mode, stream, TiffStreamRead, TiffStreamWrite,
                                  TiffStreamSeek, TiffStreamClose, TiffStreamSize, TiffStreamMap,
                                  TiffStreamUnmap, options);
    TIFFOpenOptionsFree(options);
    return tif;
}
