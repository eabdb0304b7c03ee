#include "pdfw/formats/ImageKind.h"

#include <cstring>

namespace pdfw {

ImageKind detectImageKind(const unsigned char *head, std::size_t size) {
    static const unsigned char kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) {
        return ImageKind::Jpeg;
    }
    if (size >= 4 &&
        ((std::memcmp(head, "II", 2) == 0 && (head[2] == 42 || head[2] == 43) && head[3] == 0) ||
         (std::memcmp(head, "MM", 2) == 0 && head[2] == 0 && (head[3] == 42 || head[3] == 43)))) {
        return ImageKind::Tiff;
    }
    if (size >= 8 && std::memcmp(head, kPng, 8) == 0) {
        return ImageKind::Png;
    }
    return ImageKind::Unknown;
}

const char *imageKindName(ImageKind kind) {
    switch (kind) {
    case ImageKind::Jpeg:
        return "JPEG";
    case ImageKind::Tiff:
        return "TIFF";
    case ImageKind::Png:
        return "PNG";
    case ImageKind::Unknown:
        break;
    }
    return "";
}

} // namespace pdfw
