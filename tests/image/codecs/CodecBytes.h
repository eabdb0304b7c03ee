// Test support for the BMP and ICO decoders: little-endian byte building and decoding of
// in-memory files through a real stdio stream.
#pragma once

#include <cstdint>
#include <vector>

#include "image/CfImage.h"
#include "image/CfStdioStream.h"

using Bytes = std::vector<uint8_t>;

void PutLe16(Bytes &out, uint32_t value);
void PutLe32(Bytes &out, uint32_t value);
void Append(Bytes &out, const Bytes &more);

// Runs decoder.Decode over a stdio stream on a copy of bytes; the stream starts at offset
// `start` of the buffer (bytes before it are a prefix the decoder must not read as its own).
template <class Decoder> bool DecodeBytes(Decoder &decoder, const Bytes &bytes, long start = 0);

// CfImage::Decode with a format hint over the same kind of stream.
bool DecodeWithHint(CfImage &image, const Bytes &bytes, int32_t hint);

// Opens a read-only stdio stream over a copy of bytes; the caller fcloses it.
FILE *OpenBytes(const Bytes &bytes);

// Colour of pixel (x, y), y counted from the bottom row, as blue, green, red, alpha (255 when
// the image has no alpha channel).
struct Bgra {
    uint8_t b, g, r, a;
    bool operator==(const Bgra &) const = default;
};
Bgra PixelAt(const CfImage &image, int32_t x, int32_t y);

template <class Decoder> bool DecodeBytes(Decoder &decoder, const Bytes &bytes, long start) {
    FILE *file = OpenBytes(bytes);
    if (!file) {
        return false;
    }
    fseek(file, start, SEEK_SET);
    bool decoded = false;
    {
        CfStdioStream stream(file);
        decoded = decoder.Decode(&stream);
    }
    fclose(file);
    return decoded;
}
