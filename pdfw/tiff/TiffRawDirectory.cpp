#include "pdfw/tiff/TiffRawDirectory.h"

#include <cstring>

namespace folvane::pdfw {

namespace {

constexpr unsigned kStripByteCounts = 279;
constexpr unsigned kShort = 3, kLong = 4, kLong8 = 16;
constexpr std::uint64_t kMostEntries = 4096;

class FieldReader {
public:
    FieldReader(const ByteSource &file, bool bigEndian) : file_(file), big_(bigEndian) {}

    // The unsigned number of `size` bytes at `offset`; nothing past the end of the file.
    std::optional<std::uint64_t> number(std::uint64_t offset, unsigned size) const {
        unsigned char bytes[8];
        if (file_.readAt(offset, bytes, size) != size) {
            return std::nullopt;
        }
        std::uint64_t value = 0;
        for (unsigned i = 0; i < size; ++i) {
            value |= std::uint64_t{bytes[big_ ? i : size - 1 - i]} << (8 * (size - 1 - i));
        }
        return value;
    }

private:
    const ByteSource &file_;
    bool big_;
};

unsigned sizeOfType(std::uint64_t type) {
    switch (type) {
    case kShort:
        return 2;
    case kLong:
        return 4;
    case kLong8:
        return 8;
    default:
        return 0;
    }
}

// The file's byte order and kind, from its header.
struct Layout {
    bool bigEndian = false;
    bool bigTiff = false;
    unsigned countSize() const { return bigTiff ? 8 : 2; }   // a directory's entry count
    unsigned entrySize() const { return bigTiff ? 20 : 12; } // one entry
    unsigned lengthSize() const { return bigTiff ? 8 : 4; }  // an entry's count, an offset
};

std::optional<Layout> layoutOf(const ByteSource &file) {
    unsigned char head[4];
    if (file.readAt(0, head, 4) != 4) {
        return std::nullopt;
    }
    Layout layout;
    layout.bigEndian = std::memcmp(head, "MM", 2) == 0;
    layout.bigTiff = (layout.bigEndian ? head[3] : head[2]) == 43;
    return layout;
}

} // namespace

std::optional<std::uint64_t> firstDirectoryEntries(const ByteSource &file) {
    std::optional<Layout> layout = layoutOf(file);
    if (!layout) {
        return std::nullopt;
    }
    const FieldReader read(file, layout->bigEndian);
    std::optional<std::uint64_t> first = read.number(layout->bigTiff ? 8 : 4, layout->lengthSize());
    return first ? read.number(*first, layout->countSize()) : std::nullopt;
}

std::optional<std::uint64_t> storedSingleStripBytes(const ByteSource &file,
                                                    std::uint64_t directory) {
    std::optional<Layout> layout = layoutOf(file);
    if (!layout) {
        return std::nullopt;
    }
    const FieldReader read(file, layout->bigEndian);
    const unsigned countSize = layout->countSize(), entrySize = layout->entrySize();
    const unsigned lengthSize = layout->lengthSize();
    std::optional<std::uint64_t> entries = read.number(directory, countSize);
    if (!entries || *entries > kMostEntries) {
        return std::nullopt;
    }
    for (std::uint64_t i = 0; i < *entries; ++i) {
        const std::uint64_t entry = directory + countSize + i * entrySize;
        std::optional<std::uint64_t> tag = read.number(entry, 2);
        if (!tag || *tag != kStripByteCounts) {
            continue;
        }
        std::optional<std::uint64_t> type = read.number(entry + 2, 2);
        std::optional<std::uint64_t> count = read.number(entry + 4, lengthSize);
        const unsigned size = type ? sizeOfType(*type) : 0;
        if (!count || *count != 1 || size == 0 || size > lengthSize) {
            return std::nullopt;
        }
        return read.number(entry + 4 + lengthSize, size);
    }
    return std::nullopt;
}

} // namespace folvane::pdfw
