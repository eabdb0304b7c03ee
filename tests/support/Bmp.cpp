#include "tests/support/Bmp.h"

namespace support {

Bytes MakeBmp(const BmpFile &bmp) {
    Bytes info;
    if (bmp.headerSize == 12) {
        PutLe32(info, 12);
        PutLe16(info, static_cast<uint32_t>(bmp.width));
        PutLe16(info, static_cast<uint32_t>(bmp.height));
        PutLe16(info, bmp.planes);
        PutLe16(info, bmp.bits);
    } else {
        PutLe32(info, bmp.headerSize);
        PutLe32(info, static_cast<uint32_t>(bmp.width));
        PutLe32(info, static_cast<uint32_t>(bmp.height));
        PutLe16(info, bmp.planes);
        PutLe16(info, bmp.bits);
        PutLe32(info, bmp.compression);
        PutLe32(info, bmp.imageSize);
        PutLe32(info, static_cast<uint32_t>(bmp.ppmX));
        PutLe32(info, static_cast<uint32_t>(bmp.ppmY));
        PutLe32(info, bmp.colorsUsed);
        PutLe32(info, 0);
        const bool masksInside = bmp.headerSize >= 52;
        if (masksInside) {
            for (uint32_t m : bmp.masks) {
                PutLe32(info, m);
            }
        }
        info.resize(bmp.headerSize, 0);
        if (!masksInside) {
            for (uint32_t m : bmp.masks) {
                PutLe32(info, m);
            }
        }
    }
    for (uint32_t entry : bmp.palette) {
        info.push_back(static_cast<uint8_t>(entry));
        info.push_back(static_cast<uint8_t>(entry >> 8));
        info.push_back(static_cast<uint8_t>(entry >> 16));
        if (bmp.headerSize != 12) {
            info.push_back(0);
        }
    }
    Bytes file;
    if (bmp.fileHeader) {
        const uint32_t offset = bmp.pixelOffset >= 0 ? static_cast<uint32_t>(bmp.pixelOffset)
                                                     : static_cast<uint32_t>(14 + info.size());
        file.push_back('B');
        file.push_back('M');
        PutLe32(file, static_cast<uint32_t>(14 + info.size() + bmp.pixels.size()));
        PutLe32(file, 0);
        PutLe32(file, offset);
    }
    Append(file, info);
    Append(file, bmp.pixels);
    return file;
}

Bytes PackIndexRows(const std::vector<std::vector<uint8_t>> &indices, int bits) {
    Bytes out;
    for (const auto &row : indices) {
        const size_t stride = (row.size() * bits + 31) / 32 * 4;
        Bytes packed(stride, 0);
        for (size_t x = 0; x < row.size(); ++x) {
            const size_t bit = x * bits;
            packed[bit / 8] |= static_cast<uint8_t>(row[x] << (8 - bits - bit % 8));
        }
        Append(out, packed);
    }
    return out;
}

BmpFile BmpFileOf(const Picture &picture, int32_t pelsPerMeter) {
    BmpFile bmp;
    bmp.width = picture.width;
    bmp.height = picture.height;
    bmp.ppmX = bmp.ppmY = pelsPerMeter;
    const std::size_t stride = (std::size_t(picture.width) * 3 + 3) / 4 * 4;
    for (int y = picture.height - 1; y >= 0; --y) {
        Bytes row(stride, 0);
        for (int x = 0; x < picture.width; ++x) {
            for (int c = 0; c < 3; ++c) {
                row[std::size_t(x) * 3 + c] = picture.At(x, y, 2 - c);
            }
        }
        Append(bmp.pixels, row);
    }
    return bmp;
}

} // namespace support
