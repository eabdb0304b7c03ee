#include "CodecBytes.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

void PutLe16(Bytes &out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutLe32(Bytes &out, uint32_t value) {
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, value >> 16);
}

void Append(Bytes &out, const Bytes &more) {
    out.insert(out.end(), more.begin(), more.end());
}

// A real file (tmpfile) rather than fmemopen: its size, seeks past the end and short reads
// behave as the decoders meet them on disk.
FILE *OpenBytes(const Bytes &bytes) {
    FILE *file = tmpfile();
    if (!file) {
        return nullptr;
    }
    if (!bytes.empty() && fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        fclose(file);
        return nullptr;
    }
    rewind(file);
    return file;
}

bool DecodeWithHint(CfImage &image, const Bytes &bytes, int32_t hint) {
    FILE *file = OpenBytes(bytes);
    if (!file) {
        return false;
    }
    const bool decoded = image.DecodeFile(file, hint);
    fclose(file);
    return decoded;
}

Bgra PixelAt(const CfImage &image, int32_t x, int32_t y) {
    const RGBQUAD c = image.PixelColorAt(x, y, false);
    const uint8_t a = image.HasAlphaChannel() ? *image.AlphaPointer(x, y) : 255;
    return Bgra{c.rgbBlue, c.rgbGreen, c.rgbRed, a};
}
