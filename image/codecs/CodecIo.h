// Small reading helpers shared by the BMP and ICO decoders: little-endian fields from a byte
// buffer, and stream moves that never leave the file.
#pragma once

#include <cstdint>

#include "image/CfStream.h"

namespace CodecIo {

inline uint16_t Le16(const uint8_t *bytes) {
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

inline uint32_t Le32(const uint8_t *bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// Moves the stream to the absolute position. False, without moving, when the position is
// negative or beyond the end of a stream of known size.
bool SeekTo(CfStream &stream, int64_t position);

// Moves the stream count bytes forward. False, without moving, when that leaves the stream
// (a stream of unknown size is trusted).
bool Skip(CfStream &stream, uint64_t count);

// Bytes between the current position and the end; -1 when the stream cannot tell.
int64_t Remaining(CfStream &stream);

} // namespace CodecIo
