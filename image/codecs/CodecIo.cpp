#include "image/codecs/CodecIo.h"

namespace folvane::image::codec_io {

bool seekTo(CfStream &stream, int64_t position) {
    const int64_t size = stream.Size();
    if (position < 0 || position > INT32_MAX || (size >= 0 && position > size)) {
        return false;
    }
    return stream.Seek(static_cast<int32_t>(position), kSeekStart);
}

bool skip(CfStream &stream, uint64_t count) {
    const int64_t here = stream.Tell();
    if (here < 0 || count > static_cast<uint64_t>(INT32_MAX)) {
        return false;
    }
    return seekTo(stream, here + static_cast<int64_t>(count));
}

int64_t remaining(CfStream &stream) {
    const int64_t size = stream.Size();
    const int64_t here = stream.Tell();
    if (size < 0 || here < 0) {
        return -1;
    }
    return here < size ? size - here : 0;
}

} // namespace folvane::image::codec_io
