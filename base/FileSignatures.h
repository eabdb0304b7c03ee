// The first bytes that tell a JPEG, PNG or TIFF file: the one table the preview's reduced decode
// and the PDF engine's format records both read, so that both call the same files by the same
// format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace folvane {

// The longest signature below: how many bytes a caller reads to tell any of them.
constexpr size_t kLongestSignature = 8;

// Start of image followed by the first marker's 0xFF.
inline bool isJpegSignature(const uint8_t *head, size_t size) {
    return size >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
}

inline bool isPngSignature(const uint8_t *head, size_t size) {
    static constexpr uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return size >= sizeof kPng && std::memcmp(head, kPng, sizeof kPng) == 0;
}

// Classic TIFF (42) and BigTIFF (43), in either byte order.
inline bool isTiffSignature(const uint8_t *head, size_t size) {
    if (size < 4) {
        return false;
    }
    const bool little = head[0] == 'I' && head[1] == 'I' && head[3] == 0;
    const bool big = head[0] == 'M' && head[1] == 'M' && head[2] == 0;
    const uint8_t version = little ? head[2] : head[3];
    return (little || big) && (version == 42 || version == 43);
}

} // namespace folvane
