#include "tests/support/Ico.h"

namespace support {

Bytes MakeIco(const std::vector<IconEntry> &entries, uint16_t type) {
    Bytes file;
    PutLe16(file, 0);
    PutLe16(file, type);
    PutLe16(file, static_cast<uint32_t>(entries.size()));
    size_t offset = 6 + 16 * entries.size();
    for (const IconEntry &e : entries) {
        file.push_back(e.dirWidth);
        file.push_back(e.dirHeight);
        file.push_back(0);
        file.push_back(0);
        PutLe16(file, 1);
        PutLe16(file, 32);
        PutLe32(file, static_cast<uint32_t>(e.data.size()));
        PutLe32(file,
                e.offset >= 0 ? static_cast<uint32_t>(e.offset) : static_cast<uint32_t>(offset));
        offset += e.data.size();
    }
    for (const IconEntry &e : entries) {
        Append(file, e.data);
    }
    return file;
}

Bytes ClassicIcon(int32_t width, int32_t height, uint16_t bits,
                  const std::vector<uint32_t> &palette, const Bytes &colourRows,
                  const Bytes &maskRows) {
    Bytes data;
    PutLe32(data, 40);
    PutLe32(data, static_cast<uint32_t>(width));
    PutLe32(data, static_cast<uint32_t>(height * 2));
    PutLe16(data, 1);
    PutLe16(data, bits);
    PutLe32(data, 0);
    PutLe32(data, static_cast<uint32_t>(colourRows.size() + maskRows.size()));
    PutLe32(data, 0);
    PutLe32(data, 0);
    PutLe32(data, static_cast<uint32_t>(palette.size()));
    PutLe32(data, 0);
    for (uint32_t entry : palette) {
        PutLe32(data, entry);
    }
    Append(data, colourRows);
    Append(data, maskRows);
    return data;
}

Bytes MaskRows(const std::vector<std::string> &rows) {
    Bytes out;
    for (const std::string &row : rows) {
        Bytes packed((row.size() + 31) / 32 * 4, 0);
        for (size_t x = 0; x < row.size(); ++x) {
            if (row[x] == '1') {
                packed[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        Append(out, packed);
    }
    return out;
}

Bytes SolidRows(int32_t width, int32_t height, const Bytes &pixel) {
    Bytes out;
    const size_t stride = (width * pixel.size() + 3) / 4 * 4;
    for (int32_t y = 0; y < height; ++y) {
        Bytes row;
        for (int32_t x = 0; x < width; ++x) {
            Append(row, pixel);
        }
        row.resize(stride, 0);
        Append(out, row);
    }
    return out;
}

} // namespace support
