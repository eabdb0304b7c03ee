#include "tests/support/Exif.h"

#include <cstring>

namespace support {

int ExifBlockBuilder::AddDirectory() {
    directories.emplace_back();
    return static_cast<int>(directories.size()) - 1;
}

void ExifBlockBuilder::Put16(std::vector<uint8_t> &out, uint16_t v) const {
    if (motorola) {
        out.push_back(static_cast<uint8_t>(v >> 8));
        out.push_back(static_cast<uint8_t>(v));
    } else {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    }
}

void ExifBlockBuilder::Put32(std::vector<uint8_t> &out, uint32_t v) const {
    if (motorola) {
        Put16(out, static_cast<uint16_t>(v >> 16));
        Put16(out, static_cast<uint16_t>(v));
    } else {
        Put16(out, static_cast<uint16_t>(v));
        Put16(out, static_cast<uint16_t>(v >> 16));
    }
}

void ExifBlockBuilder::Set32(std::vector<uint8_t> &out, size_t at, uint32_t v) const {
    std::vector<uint8_t> bytes;
    Put32(bytes, v);
    std::memcpy(&out[at], bytes.data(), 4);
}

void ExifBlockBuilder::Add(int dir, uint16_t tag, uint16_t format, uint32_t count,
                           std::vector<uint8_t> data) {
    Entry entry{tag, format, count, std::move(data)};
    directories[size_t(dir)].entries.push_back(std::move(entry));
}

void ExifBlockBuilder::Short(int dir, uint16_t tag, uint16_t value) {
    std::vector<uint8_t> data;
    Put16(data, value);
    Add(dir, tag, 3, 1, data);
}

void ExifBlockBuilder::Long(int dir, uint16_t tag, uint32_t value) {
    std::vector<uint8_t> data;
    Put32(data, value);
    Add(dir, tag, 4, 1, data);
}

void ExifBlockBuilder::Rational(int dir, uint16_t tag, uint32_t num, uint32_t den) {
    std::vector<uint8_t> data;
    Put32(data, num);
    Put32(data, den);
    Add(dir, tag, 5, 1, data);
}

void ExifBlockBuilder::SignedRational(int dir, uint16_t tag, int32_t num, int32_t den) {
    std::vector<uint8_t> data;
    Put32(data, static_cast<uint32_t>(num));
    Put32(data, static_cast<uint32_t>(den));
    Add(dir, tag, 10, 1, data);
}

void ExifBlockBuilder::Ascii(int dir, uint16_t tag, const std::string &text) {
    std::vector<uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    const auto count = static_cast<uint32_t>(data.size());
    Add(dir, tag, 2, count, data);
}

void ExifBlockBuilder::Undefined(int dir, uint16_t tag, const std::vector<uint8_t> &bytes) {
    Add(dir, tag, 7, static_cast<uint32_t>(bytes.size()), bytes);
}

void ExifBlockBuilder::Float(int dir, uint16_t tag, float value) {
    std::vector<uint8_t> data(4);
    std::memcpy(data.data(), &value, 4);
    Add(dir, tag, 11, 1, data);
}

void ExifBlockBuilder::Double(int dir, uint16_t tag, double value) {
    std::vector<uint8_t> data(8);
    std::memcpy(data.data(), &value, 8);
    Add(dir, tag, 12, 1, data);
}

void ExifBlockBuilder::SubDirectory(int dir, uint16_t tag, int target) {
    Entry entry{tag, 4, 1, {}};
    entry.target = target;
    directories[size_t(dir)].entries.push_back(entry);
}

void ExifBlockBuilder::Raw(int dir, uint16_t tag, uint16_t format, uint32_t count,
                           uint32_t valueOrOffset) {
    Entry entry{tag, format, count, {}};
    entry.raw = true;
    entry.rawValue = valueOrOffset;
    directories[size_t(dir)].entries.push_back(entry);
}

void ExifBlockBuilder::Link(int dir, int target) {
    directories[size_t(dir)].link = target;
}

void ExifBlockBuilder::RawLink(int dir, uint32_t value) {
    directories[size_t(dir)].rawLink = true;
    directories[size_t(dir)].rawLinkValue = value;
}

std::vector<uint32_t> ExifBlockBuilder::Layout() const {
    std::vector<uint32_t> offsets;
    uint32_t at = 8;
    for (const Directory &d : directories) {
        offsets.push_back(at);
        at += 2 + 12 * static_cast<uint32_t>(d.entries.size()) + 4;
        for (const Entry &e : d.entries) {
            if (!e.raw && e.target < 0 && e.data.size() > 4) {
                at += static_cast<uint32_t>(e.data.size());
            }
        }
    }
    return offsets;
}

uint32_t ExifBlockBuilder::DirectoryOffset(int dir) const {
    return Layout()[size_t(dir)];
}

std::vector<uint8_t> ExifBlockBuilder::Tiff() const {
    const std::vector<uint32_t> offsets = Layout();
    std::vector<uint8_t> out;
    out.push_back(motorola ? 'M' : 'I');
    out.push_back(motorola ? 'M' : 'I');
    Put16(out, 42);
    Put32(out, hasFirstOverride ? firstOffsetOverride : (offsets.empty() ? 0 : offsets[0]));
    for (size_t di = 0; di < directories.size(); ++di) {
        const Directory &d = directories[di];
        Put16(out, static_cast<uint16_t>(d.entries.size()));
        uint32_t dataAt = offsets[di] + 2 + 12 * static_cast<uint32_t>(d.entries.size()) + 4;
        std::vector<uint8_t> outOfLine;
        for (const Entry &e : d.entries) {
            Put16(out, e.tag);
            Put16(out, e.format);
            Put32(out, e.count);
            if (e.raw) {
                Put32(out, e.rawValue);
            } else if (e.target >= 0) {
                Put32(out, offsets[size_t(e.target)]);
            } else if (e.data.size() > 4) {
                Put32(out, dataAt + static_cast<uint32_t>(outOfLine.size()));
                outOfLine.insert(outOfLine.end(), e.data.begin(), e.data.end());
            } else {
                std::vector<uint8_t> inline4 = e.data;
                inline4.resize(4, 0);
                out.insert(out.end(), inline4.begin(), inline4.end());
            }
        }
        if (d.rawLink) {
            Put32(out, d.rawLinkValue);
        } else {
            Put32(out, d.link >= 0 ? offsets[size_t(d.link)] : 0);
        }
        out.insert(out.end(), outOfLine.begin(), outOfLine.end());
    }
    return out;
}

std::vector<uint8_t> ExifBlockBuilder::Payload() const {
    std::vector<uint8_t> payload = {'E', 'x', 'i', 'f', 0, 0};
    std::vector<uint8_t> tiff = Tiff();
    payload.insert(payload.end(), tiff.begin(), tiff.end());
    return payload;
}

std::vector<uint8_t> App1Segment(const std::vector<uint8_t> &payload) {
    const size_t length = payload.size() + 2;
    std::vector<uint8_t> segment = {0xFF, 0xE1, static_cast<uint8_t>(length >> 8),
                                    static_cast<uint8_t>(length & 0xFF)};
    segment.insert(segment.end(), payload.begin(), payload.end());
    return segment;
}

} // namespace support
