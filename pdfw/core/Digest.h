// SHA-256 of a block of bytes, for telling shared resources apart by their content.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace folvane::pdfw {

std::array<std::uint8_t, 32> sha256(const void *data, std::size_t size);

// The digest as 64 lower-case hexadecimal digits.
std::string sha256Hex(const void *data, std::size_t size);

} // namespace folvane::pdfw
