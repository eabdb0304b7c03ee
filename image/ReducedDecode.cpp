// The reduced decode's entry points: the format told by the first bytes, then the decoder of
// that format (image/codecs/Reduced*.cpp) with the failure caught at this one place.
#include "image/ReducedDecode.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/FileSignatures.h"
#include "image/CfStdioStream.h"
#include "image/codecs/DecodeFailure.h"
#include "image/codecs/ReducedJob.h"

namespace {

constexpr const char *kNoStream = "DecodeReduced: null stream";
constexpr const char *kNoChooser = "DecodeReduced: no reduced size chooser";
constexpr const char *kViewTarget = "DecodeReduced: a view cannot receive a decoded image";
constexpr const char *kNoPosition = "DecodeReduced: the stream position cannot be read";
constexpr const char *kOtherFormat =
    "DecodeReduced: not a JPEG, PNG or TIFF file (the formats read reduced)";

int32_t formatOf(const uint8_t *head, size_t length) {
    if (folvane::isJpegSignature(head, length)) {
        return FormatJpeg;
    }
    if (folvane::isPngSignature(head, length)) {
        return FormatPng;
    }
    if (folvane::isTiffSignature(head, length)) {
        return FormatTiff;
    }
    return FormatUnknown;
}

bool run(CfStream &stream, ReducedJob &job) {
    const int32_t start = stream.Tell();
    if (start < 0) {
        raiseDecodeFailure(kNoPosition);
    }
    uint8_t head[folvane::kLongestSignature] = {};
    const size_t length = stream.Read(head, 1, sizeof head);
    if (!stream.Seek(start, kSeekStart)) {
        raiseDecodeFailure(kNoPosition);
    }
    job.facts.format = formatOf(head, length);
    job.image.info.type = job.facts.format;
    switch (job.facts.format) {
    case FormatJpeg:
        decodeReducedJpeg(stream, job);
        return true;
    case FormatPng:
        decodeReducedPng(stream, job);
        return true;
    case FormatTiff:
        decodeReducedTiff(stream, job);
        return true;
    default:
        raiseDecodeFailure(kOtherFormat);
    }
}

} // namespace

ReducedSize reducedSizeWithin(uint32_t uprightWidth, uint32_t uprightHeight, uint32_t maxWidth,
                              uint32_t maxHeight) {
    ReducedSize size;
    const uint32_t width = std::max<uint32_t>(uprightWidth, 1);
    const uint32_t height = std::max<uint32_t>(uprightHeight, 1);
    maxWidth = std::clamp<uint32_t>(maxWidth, 1, width);
    maxHeight = std::clamp<uint32_t>(maxHeight, 1, height);
    // The side that limits keeps its maximum; the other follows the proportions, rounded.
    if (uint64_t{maxWidth} * height <= uint64_t{maxHeight} * width) {
        size.width = maxWidth;
        size.height = uint32_t((uint64_t{maxWidth} * height + width / 2) / width);
    } else {
        size.height = maxHeight;
        size.width = uint32_t((uint64_t{maxHeight} * width + height / 2) / height);
    }
    size.width = std::clamp<uint32_t>(size.width, 1, width);
    size.height = std::clamp<uint32_t>(size.height, 1, height);
    return size;
}

bool decodeReduced(CfStream *stream, const ReducedSizeChooser &choose, CfImage &image,
                   ReducedFacts *facts) {
    ReducedFacts ignored;
    ReducedFacts &found = facts ? *facts : ignored;
    found = ReducedFacts{};
    if (image.info.viewSource) {
        image.SetLastError(kViewTarget);
        return false;
    }
    image.DestroyFrames();
    image.Destroy();
    image.SetLastError(nullptr);
    if (!stream || !choose) {
        image.SetLastError(!stream ? kNoStream : kNoChooser);
        return false;
    }
    ReducedJob job{choose, image, found};
    const bool decoded = catchDecodeFailure(image, [&] { return run(*stream, job); });
    if (!decoded) {
        image.Destroy();
    }
    return decoded;
}

bool loadReduced(const char *path, const ReducedSizeChooser &choose, CfImage &image,
                 ReducedFacts *facts) {
    if (facts) {
        *facts = ReducedFacts{};
    }
    const char *reason = nullptr;
    FILE *file = OpenRegularFile(path, &reason);
    if (!file) {
        char text[kLastErrorSize];
        std::snprintf(text, sizeof text, "LoadReduced: the file cannot be opened: %s", reason);
        image.SetLastError(text);
        return false;
    }
    bool decoded = false;
    {
        CfStdioStream stream(file);
        decoded = decodeReduced(&stream, choose, image, facts);
    }
    std::fclose(file);
    return decoded;
}
