#include "pdfw/text/GlyphlessFont.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "pdfw/raster/FlateEncoder.h"
#include "pdfw/text/TextEncoding.h"

namespace folvane::pdfw {

namespace {

constexpr const char *kFontName = "FolvaneGlyphless";

// Big-endian table bytes.
class Table {
public:
    Table &u16(int value) {
        bytes_ += static_cast<char>((value >> 8) & 0xFF);
        bytes_ += static_cast<char>(value & 0xFF);
        return *this;
    }
    Table &u32(std::uint32_t value) {
        return u16(static_cast<int>(value >> 16)).u16(value & 0xFFFF);
    }
    Table &zeros(int count) {
        bytes_.append(static_cast<std::size_t>(count), '\0');
        return *this;
    }
    const std::string &bytes() const { return bytes_; }

private:
    std::string bytes_;
};

std::uint32_t checksum(const std::string &data) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < data.size(); i += 4) {
        std::uint32_t word = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            word =
                (word << 8) | (i + k < data.size() ? static_cast<unsigned char>(data[i + k]) : 0);
        }
        sum += word;
    }
    return sum;
}

std::string headTable() {
    Table t;
    t.u32(0x00010000)
        .u32(0x00010000)
        .u32(0) // version, revision, checksum adjustment
        .u32(0x5F0F3CF5)
        .u16(0x000B)
        .u16(1000) // magic, flags, units per em
        .zeros(16) // created, modified
        .u16(0)
        .u16(kGlyphDescent & 0xFFFF)
        .u16(kGlyphAdvance)
        .u16(kGlyphAscent)
        .u16(0)
        .u16(3)
        .u16(2) // mac style, smallest size, direction hint
        .u16(0)
        .u16(0); // short offsets, glyph data format
    return t.bytes();
}

std::string hheaTable() {
    Table t;
    t.u32(0x00010000)
        .u16(kGlyphAscent)
        .u16(kGlyphDescent & 0xFFFF)
        .u16(0)
        .u16(kGlyphAdvance)
        .u16(0)
        .u16(0)
        .u16(0) // widest advance, side bearings, extent
        .u16(1)
        .u16(0)
        .u16(0) // caret upright
        .zeros(8)
        .u16(0)
        .u16(2); // reserved, metric format, two metrics
    return t.bytes();
}

std::string maxpTable() {
    Table t;
    t.u32(0x00010000).u16(2).zeros(8).u16(2).zeros(16); // two glyphs, two zones
    return t.bytes();
}

std::string hmtxTable() {
    Table t;
    t.u16(kGlyphAdvance).u16(0).u16(kGlyphAdvance).u16(0);
    return t.bytes();
}

std::string cmapTable() {
    // One format 4 subtable with only the closing segment: codes reach glyphs through the
    // PDF's CID map, not through this table.
    Table t;
    t.u16(0).u16(1).u16(3).u16(1).u32(12);
    t.u16(4).u16(24).u16(0).u16(2).u16(2).u16(0).u16(0);
    t.u16(0xFFFF).u16(0).u16(0xFFFF).u16(1).u16(0);
    return t.bytes();
}

std::string nameTable() {
    const std::string names[] = {kFontName, "Regular", kFontName, kFontName};
    const int ids[] = {1, 2, 4, 6};
    Table t;
    t.u16(0).u16(4).u16(6 + 4 * 12);
    std::string strings;
    for (int i = 0; i < 4; ++i) {
        std::string utf16;
        for (char c : names[i]) {
            utf16 += '\0';
            utf16 += c;
        }
        t.u16(3)
            .u16(1)
            .u16(0x409)
            .u16(ids[i])
            .u16(static_cast<int>(utf16.size()))
            .u16(static_cast<int>(strings.size()));
        strings += utf16;
    }
    return t.bytes() + strings;
}

std::string postTable() {
    Table t;
    t.u32(0x00030000).u32(0).u16(-100 & 0xFFFF).u16(50).u32(1).zeros(16);
    return t.bytes();
}

} // namespace

std::string glyphlessTrueType() {
    struct Entry {
        const char *tag;
        std::string data;
    };
    // Both glyphs are empty: every loca offset is 0. The glyf table holds one padding word, as
    // some readers take an empty table for a missing one.
    std::vector<Entry> tables = {
        {"cmap", cmapTable()}, {"glyf", std::string(4, '\0')}, {"head", headTable()},
        {"hhea", hheaTable()}, {"hmtx", hmtxTable()},          {"loca", std::string(6, '\0')},
        {"maxp", maxpTable()}, {"name", nameTable()},          {"post", postTable()},
    };
    int count = static_cast<int>(tables.size());
    int power = 1, log2 = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++log2;
    }
    Table directory;
    directory.u32(0x00010000).u16(count).u16(power * 16).u16(log2).u16(count * 16 - power * 16);
    std::string body;
    std::size_t offset = 12 + 16 * tables.size();
    std::size_t headOffset = 0;
    for (const Entry &table : tables) {
        if (std::string(table.tag) == "head") {
            headOffset = offset + body.size();
        }
        directory.u32((std::uint32_t(table.tag[0]) << 24) | (std::uint32_t(table.tag[1]) << 16) |
                      (std::uint32_t(table.tag[2]) << 8) | std::uint32_t(table.tag[3]));
        directory.u32(checksum(table.data));
        directory.u32(static_cast<std::uint32_t>(offset + body.size()));
        directory.u32(static_cast<std::uint32_t>(table.data.size()));
        body += table.data;
        body.append((4 - body.size() % 4) % 4, '\0');
    }
    std::string font = directory.bytes() + body;
    std::uint32_t adjustment = 0xB1B0AFBAu - checksum(font);
    for (int k = 0; k < 4; ++k) {
        font[headOffset + 8 + k] = static_cast<char>((adjustment >> (24 - 8 * k)) & 0xFF);
    }
    return font;
}

void writeGlyphlessFont(ObjectWriter &writer, int type0, const TextEncoding &encoding,
                        const MemoryProcs &memory) {
    int cidFont = writer.reserve();
    int descriptor = writer.reserve();
    int fontFile = writer.reserve();
    int cidMap = writer.reserve();
    int toUnicode = writer.reserve();
    auto ref = [](int object) { return " " + std::to_string(object) + " 0 R"; };

    writer.beginObject(type0);
    writer.out().write(std::string("<</Type/Font/Subtype/Type0/BaseFont/") + kFontName +
                       "/Encoding/Identity-H/DescendantFonts[" + ref(cidFont).substr(1) +
                       "]/ToUnicode" + ref(toUnicode) + ">>\n");
    writer.endObject();

    writer.beginObject(cidFont);
    writer.out().write(std::string("<</Type/Font/Subtype/CIDFontType2/BaseFont/") + kFontName +
                       "/CIDSystemInfo<</Registry(Adobe)/Ordering(Identity)/Supplement 0>>"
                       "/FontDescriptor" +
                       ref(descriptor) + "/DW " + std::to_string(kGlyphAdvance) + "/CIDToGIDMap" +
                       ref(cidMap) + ">>\n");
    writer.endObject();

    writer.beginObject(descriptor);
    writer.out().write(
        std::string("<</Type/FontDescriptor/FontName/") + kFontName + "/Flags 5/FontBBox[0 " +
        std::to_string(kGlyphDescent) + " " + std::to_string(kGlyphAdvance) + " " +
        std::to_string(kGlyphAscent) + "]/ItalicAngle 0/Ascent " + std::to_string(kGlyphAscent) +
        "/Descent " + std::to_string(kGlyphDescent) + "/CapHeight " + std::to_string(kGlyphAscent) +
        "/StemV 80/FontFile2" + ref(fontFile) + ">>\n");
    writer.endObject();

    auto compressed = [&](int object, const std::string &data, const std::string &extra) {
        Buffer packed = flateCompress(reinterpret_cast<const unsigned char *>(data.data()),
                                      data.size(), kFlateLevelFewBits, memory);
        writer.writeStream(object, "/Filter/FlateDecode" + extra, packed.data(), packed.size());
    };
    std::string font = glyphlessTrueType();
    compressed(fontFile, font, "/Length1 " + std::to_string(font.size()));
    // Every CID shows glyph 1.
    std::string map(2 * 65536, '\0');
    for (std::size_t i = 1; i < map.size(); i += 2) {
        map[i] = 1;
    }
    compressed(cidMap, map, "");
    compressed(toUnicode, encoding.toUnicodeCMap(), "");
}

} // namespace folvane::pdfw
