// Stream moves shared by the BMP and ICO decoders that never leave the file. (Numbers in
// bytes are read with base/ByteOrder.h.)
#pragma once

#include <cstdint>

#include "image/CfStream.h"

namespace folvane::image::codec_io {

// Moves the stream to the absolute position. False, without moving, when the position is
// negative or beyond the end of a stream of known size.
bool seekTo(CfStream &stream, int64_t position);

// Moves the stream count bytes forward. False, without moving, when that leaves the stream
// (a stream of unknown size is trusted).
bool skip(CfStream &stream, uint64_t count);

// Bytes between the current position and the end; -1 when the stream cannot tell.
int64_t remaining(CfStream &stream);

} // namespace folvane::image::codec_io
