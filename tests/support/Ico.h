// Icon and cursor files byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/Bytes.h"

namespace support {

struct IconEntry {
    uint8_t dirWidth = 0; // as the directory stores it: 0 stands for 256
    uint8_t dirHeight = 0;
    Bytes data;          // the entry's image data
    int64_t offset = -1; // -1: where the data is written
};

// Directory header, entries, then every entry's data in order.
Bytes MakeIco(const std::vector<IconEntry> &entries, uint16_t type = 1);

// Data of a classic entry: a 40-byte header (height doubled, as icons store it), the colour
// table (0x00RRGGBB values), the colour rows as given and the AND mask rows.
Bytes ClassicIcon(int32_t width, int32_t height, uint16_t bits,
                  const std::vector<uint32_t> &palette, const Bytes &colourRows,
                  const Bytes &maskRows);

// AND mask rows, bottom row first: '1' marks a transparent pixel; rows padded to 4 bytes.
Bytes MaskRows(const std::vector<std::string> &rows);

// Rows of `value` repeated: width pixels of `pixelBytes` bytes each, padded to 4 bytes.
Bytes SolidRows(int32_t width, int32_t height, const Bytes &pixel);

} // namespace support
