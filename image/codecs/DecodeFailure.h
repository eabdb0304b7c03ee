// The one way the image library's decoders report a failure from inside a decode.
//
// Any step of a decode that cannot go on throws DecodeFailure with its reason. Each decoder's
// public Decode runs its body through CatchDecodeFailure, the only place the failure is
// caught: the text goes into ImageInfo::lastError and Decode returns false, so no exception
// ever leaves the library. A DecodeFailure is never thrown across a frame of libjpeg, libpng or
// libtiff: their errors come back first as the return value of a small wrapper (see
// CfJpegCalls.h and PngReadSession.h), and the C++ code above that wrapper raises.
#pragma once

#include <new>

#include "image/CfImage.h"

class DecodeFailure {
public:
    // An empty text leaves the image's error text as it is: Create's own reason, or a decoder
    // that by its contract adds none.
    explicit DecodeFailure(const char *text);
    const char *text() const { return text_; }

private:
    char text_[kLastErrorSize];
};

[[noreturn]] void raiseDecodeFailure(const char *text);

// Runs body (returning bool) and turns a DecodeFailure, or an allocation failure inside a
// standard container, into false with the reason in image's error text.
template <class Body> bool catchDecodeFailure(CfImage &image, Body &&body) {
    try {
        return body();
    } catch (const DecodeFailure &failure) {
        if (failure.text()[0] != '\0') {
            image.SetLastError(failure.text());
        }
    } catch (const std::bad_alloc &) {
        image.SetLastError("out of memory while decoding");
    }
    return false;
}
