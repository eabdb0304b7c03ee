#include "tests/support/Bytes.h"

#include <algorithm>

namespace support {

void PutLe16(Bytes &out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutLe32(Bytes &out, uint32_t value) {
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, value >> 16);
}

void PutBe16(Bytes &out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

void PutBe32(Bytes &out, uint32_t value) {
    PutBe16(out, value >> 16);
    PutBe16(out, value & 0xFFFF);
}

void Append(Bytes &out, const Bytes &more) {
    out.insert(out.end(), more.begin(), more.end());
}

bool Contains(const Bytes &haystack, const Bytes &needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
           haystack.end();
}

std::string Text(const Bytes &bytes) {
    return std::string(bytes.begin(), bytes.end());
}

} // namespace support
