// What kind of image a file holds, told by its first bytes.
#pragma once

#include <cstddef>

namespace pdfw {

enum class ImageKind { Unknown, Jpeg, Tiff, Png };

// The bytes a caller should read for detectImageKind.
inline constexpr std::size_t kKindBytes = 8;

ImageKind detectImageKind(const unsigned char *head, std::size_t size);

// "JPEG", "TIFF", "PNG" or "".
const char *imageKindName(ImageKind kind);

} // namespace pdfw
