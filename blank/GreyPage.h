// A page in grey, as the blank-page rule reads it: 8 bits a pixel, 0 black, 255 white, rows top
// first and packed (width bytes a row).
#pragma once

#include <cstdint>
#include <vector>

namespace folvane::blank {

struct GreyPage {
    std::vector<uint8_t> pixels;
    int width = 0;
    int height = 0;

    bool valid() const {
        return width > 0 && height > 0 &&
               pixels.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    }
    uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The page averaged down in whole blocks of pixels until its longer side is at most `maxSide`;
// a page already that small is returned as it is.
GreyPage reducedTo(const GreyPage &page, int maxSide);

} // namespace folvane::blank
