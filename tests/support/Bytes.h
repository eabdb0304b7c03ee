// Byte strings for test files: building them in either byte order and searching them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace support {

using Bytes = std::vector<uint8_t>;

void PutLe16(Bytes &out, uint32_t value);
void PutLe32(Bytes &out, uint32_t value);
void PutBe16(Bytes &out, uint32_t value);
void PutBe32(Bytes &out, uint32_t value);
void Append(Bytes &out, const Bytes &more);

bool Contains(const Bytes &haystack, const Bytes &needle);
// The bytes as a string (for searching PDF text, comparing file contents in messages).
std::string Text(const Bytes &bytes);

} // namespace support
