// Assembles EXIF blocks byte by byte, in either byte order: directories with entries whose
// values lie inline or after the directory, links between directories (sub-directory tags and
// next-directory links, loops included), and raw entries for hostile cases.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace support {

class ExifBlockBuilder {
public:
    explicit ExifBlockBuilder(bool bigEndian) : motorola(bigEndian) {}

    // Adds a directory and returns its index; directory 0 is the one the header names.
    int AddDirectory();

    void Short(int dir, uint16_t tag, uint16_t value);
    void Long(int dir, uint16_t tag, uint32_t value);
    void Rational(int dir, uint16_t tag, uint32_t num, uint32_t den);
    void SignedRational(int dir, uint16_t tag, int32_t num, int32_t den);
    void Ascii(int dir, uint16_t tag, const std::string &text); // NUL added
    void Undefined(int dir, uint16_t tag, const std::vector<uint8_t> &bytes);
    void Float(int dir, uint16_t tag, float value);   // stored in the machine's order
    void Double(int dir, uint16_t tag, double value); // stored in the machine's order
    // An entry whose value is the offset of another directory.
    void SubDirectory(int dir, uint16_t tag, int target);
    // An entry with all four fields as given (count and value/offset taken raw).
    void Raw(int dir, uint16_t tag, uint16_t format, uint32_t count, uint32_t valueOrOffset);

    // Next-directory link: to another directory, or a raw value.
    void Link(int dir, int target);
    void RawLink(int dir, uint32_t value);
    // Overrides the header's first-directory offset (default: directory 0).
    void FirstOffset(uint32_t value) {
        firstOffsetOverride = value;
        hasFirstOverride = true;
    }

    // The TIFF structure: header, then each directory followed by its out-of-line values.
    std::vector<uint8_t> Tiff() const;
    // "Exif\0\0" + Tiff(): the payload of an APP1 segment.
    std::vector<uint8_t> Payload() const;
    // Offset of a directory inside Tiff().
    uint32_t DirectoryOffset(int dir) const;

private:
    struct Entry {
        uint16_t tag;
        uint16_t format;
        uint32_t count;
        std::vector<uint8_t> data; // value bytes already in the block's order
        int target = -1;           // sub-directory entry
        bool raw = false;
        uint32_t rawValue = 0;
    };
    struct Directory {
        std::vector<Entry> entries;
        int link = -1;
        bool rawLink = false;
        uint32_t rawLinkValue = 0;
    };

    void Put16(std::vector<uint8_t> &out, uint16_t v) const;
    void Put32(std::vector<uint8_t> &out, uint32_t v) const;
    void Set32(std::vector<uint8_t> &out, size_t at, uint32_t v) const;
    void Add(int dir, uint16_t tag, uint16_t format, uint32_t count, std::vector<uint8_t> data);
    std::vector<uint32_t> Layout() const;

    bool motorola;
    std::vector<Directory> directories;
    bool hasFirstOverride = false;
    uint32_t firstOffsetOverride = 0;
};

// An APP1 segment (FF E1, length, payload) ready to be spliced into a JPEG.
std::vector<uint8_t> App1Segment(const std::vector<uint8_t> &payload);

} // namespace support
