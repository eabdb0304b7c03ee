// Reading image files: CfImage::Load, DecodeFile and Decode with format detection.

#include "image/CfImage.h"

#include <cstring>
#include <memory>
#include <new>

#include "image/CfStdioStream.h"

// Decoders present in this build (one include per decoder, on its own line):
#include "image/codecs/CfImageBMP.h"
#include "image/codecs/CfImageICO.h"
#include "image/codecs/CfImageJPG.h"
#include "image/codecs/CfImagePNG.h"
#include "image/codecs/CfImageTIF.h"

namespace {

constexpr const char *kUnknownFormat = "Decode: Unknown or wrong format";
constexpr const char *kNullStream = "null file handler";
constexpr const char *kViewTarget = "Decode: a view cannot receive a decoded image";
constexpr const char *kNoPosition = "Decode: the stream position cannot be read";
constexpr const char *kNoDecoder = "Decode: no decoder for this format in this build";

enum class Attempt { Decoded, Failed, OutOfMemory };

// One attempt of one decoder class. The decoder contract:
// - the class derives from CfImage and is default-constructible; its constructor sets
//   info.type to its own format;
// - it has a non-virtual `bool Decode(CfStream* stream)` that reads from the stream's current
//   position and never throws;
// - on failure it returns false with its message in its own info.lastError, or with that text
//   empty when it has nothing to say;
// - with info.escape == -1 it may stop after the header and return true with width, height
//   and info.type set and no pixel memory; any other non-zero escape cancels;
// - the caller rewinds the stream after a failure, so the decoder need not.
// The caller's info record reaches the decoder through CopyInfo; a success is moved into the
// caller with Transfer, frames included.
template <class Decoder>
Attempt TryDecoder(CfImage &receiver, CfStream *stream, bool keepsFrameCount) {
    std::unique_ptr<Decoder> decoder(new (std::nothrow) Decoder());
    if (!decoder) {
        return Attempt::OutOfMemory;
    }
    decoder->CopyInfo(receiver);
    // The decoder starts without the texts that earlier attempts left, so that a success
    // carries none of them into the receiver.
    decoder->SetLastError(nullptr);
    if (decoder->Decode(stream)) {
        if (receiver.Transfer(*decoder, true)) {
            return Attempt::Decoded;
        }
        receiver.SetLastError(kViewTarget);
        return Attempt::Failed;
    }
    if (keepsFrameCount) {
        receiver.info.frameCount = decoder->info.frameCount;
    }
    // A decoder with nothing to say (the ICO decoder never writes a text) leaves the
    // receiver's text as it was.
    if (decoder->info.lastError[0] != '\0') {
        receiver.SetLastError(decoder->info.lastError);
    }
    return Attempt::Failed;
}

using AttemptFunction = Attempt (*)(CfImage &, CfStream *, bool);

struct Candidate {
    int32_t firstFormat; // the candidate is taken for a hint of 0 or firstFormat..lastFormat
    int32_t lastFormat;
    AttemptFunction attempt; // null while this build has no decoder for the format
    bool keepsFrameCount;    // a failure still reports the file's frame or page count
};

// Detection order. A decoder joins by replacing the null of its row with
// &TryDecoder<ItsClass> (and adding its include above); the order never changes.
constexpr Candidate kCandidates[] = {
    // BMP (CfImageBMP); also takes bare information headers, so it goes first
    {FormatBmp, FormatBmp, &TryDecoder<CfImageBMP>, false},
    // JPEG (CfImageJPG)
    {FormatJpeg, FormatJpeg, &TryDecoder<CfImageJPG>, false},
    // ICO (CfImageICO)
    {FormatIco, FormatIco, &TryDecoder<CfImageICO>, true},
    // GIF
    {FormatGif, FormatGif, nullptr, true},
    // PNG (CfImagePNG)
    {FormatPng, FormatPng, &TryDecoder<CfImagePNG>, false},
    // TIFF (CfImageTIF)
    {FormatTiff, FormatTiff, &TryDecoder<CfImageTIF>, true},
    // MNG
    {FormatMng, FormatMng, nullptr, true},
    // TGA
    {FormatTga, FormatTga, nullptr, false},
    // PCX
    {FormatPcx, FormatPcx, nullptr, false},
    // WBMP
    {FormatWbmp, FormatWbmp, nullptr, false},
    // WMF/EMF
    {FormatWmf, FormatWmf, nullptr, false},
    // JPEG 2000 family
    {FormatJp2, FormatRas, nullptr, false},
    // 8-bit palette picture
    {FormatPal8, FormatPal8, nullptr, false},
    // camera raw
    {FormatRaw, FormatRaw, nullptr, false},
    // PSD
    {FormatPsd, FormatPsd, nullptr, false},
};

bool Takes(const Candidate &candidate, int32_t hint) {
    return hint == FormatUnknown || (hint >= candidate.firstFormat && hint <= candidate.lastFormat);
}

} // namespace

int32_t CfImage::TypeIndex(int32_t format) {
    if (format >= FormatBmp && format <= FormatRas) {
        return format;
    }
    if (format >= FormatMng && format <= FormatPsd) {
        return format - 1;
    }
    return 0;
}

bool CfImage::Load(const char *path, int32_t hint) {
    if (!path) {
        return false;
    }
    const bool hinted = TypeIndex(hint) != 0;
    if (hinted) {
        FILE *file = OpenRegularFile(path);
        if (!file) {
            return false;
        }
        const bool decoded = DecodeFile(file, hint);
        fclose(file);
        if (decoded) {
            return true;
        }
    }
    char hintedError[kLastErrorSize];
    memcpy(hintedError, info.lastError, sizeof hintedError);

    FILE *file = OpenRegularFile(path);
    if (!file) {
        return false;
    }
    const bool decoded = DecodeFile(file, FormatUnknown);
    fclose(file);
    // A caller who named a format learns why that format failed. A hint that names no format
    // had no pass of its own, so the detection's message stands.
    if (!decoded && hinted) {
        memcpy(info.lastError, hintedError, sizeof hintedError);
    }
    return decoded;
}

bool CfImage::DecodeFile(FILE *file, int32_t hint) {
    CfStdioStream stream(file);
    return Decode(&stream, hint);
}

bool CfImage::Decode(CfStream *stream, int32_t hint) {
    if (!stream) {
        SetLastError(kNullStream);
        return false;
    }
    // A view shares another image's memory and cannot take a decoded image in its place.
    if (info.viewSource) {
        SetLastError(kViewTarget);
        return false;
    }
    // Every failed attempt rewinds to the start: without a start there is no second attempt.
    const int32_t start = stream->Tell();
    if (start < 0) {
        SetLastError(kNoPosition);
        return false;
    }
    for (const Candidate &candidate : kCandidates) {
        if (!Takes(candidate, hint)) {
            continue;
        }
        if (candidate.attempt) {
            switch (candidate.attempt(*this, stream, candidate.keepsFrameCount)) {
            case Attempt::Decoded:
                return true;
            case Attempt::OutOfMemory:
                return false;
            case Attempt::Failed:
                break;
            }
        } else {
            SetLastError(kNoDecoder);
        }
        stream->Seek(start, kSeekStart);
        if (hint != FormatUnknown) {
            return false;
        }
    }
    SetLastError(kUnknownFormat);
    return false;
}
