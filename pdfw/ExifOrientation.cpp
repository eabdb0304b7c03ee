#include "pdfw/ExifOrientation.h"

#include <cstdint>

#include "pdfw/Orientation.h"

namespace pdfw {

int exifOrientation(const unsigned char *tiff, std::size_t size) {
    if (size < 8) {
        return 1;
    }
    bool little = tiff[0] == 'I' && tiff[1] == 'I';
    bool big = tiff[0] == 'M' && tiff[1] == 'M';
    if (!little && !big) {
        return 1;
    }
    auto u16 = [&](std::size_t at) -> unsigned {
        return little ? static_cast<unsigned>(tiff[at] | tiff[at + 1] << 8)
                      : static_cast<unsigned>(tiff[at] << 8 | tiff[at + 1]);
    };
    auto u32 = [&](std::size_t at) -> std::uint32_t {
        return little ? static_cast<std::uint32_t>(u16(at)) | std::uint32_t{u16(at + 2)} << 16
                      : std::uint32_t{u16(at)} << 16 | static_cast<std::uint32_t>(u16(at + 2));
    };
    if (u16(2) != 42) {
        return 1;
    }
    std::uint32_t ifd = u32(4);
    if (ifd > size || size - ifd < 2) {
        return 1;
    }
    unsigned count = u16(ifd);
    for (unsigned i = 0; i < count; ++i) {
        std::size_t entry = ifd + 2 + std::size_t{12} * i;
        if (entry + 12 > size) {
            return 1;
        }
        if (u16(entry) != 0x0112) {
            continue;
        }
        if (u16(entry + 2) != 3 || u32(entry + 4) != 1) {
            return 1;
        }
        return normalOrientation(static_cast<long>(u16(entry + 8)));
    }
    return 1;
}

} // namespace pdfw
