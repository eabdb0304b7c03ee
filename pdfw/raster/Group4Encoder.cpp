#include "pdfw/raster/Group4Encoder.h"

#include <tiffio.h>

#include "group4/Group4Strip.h"
#include "pdfw/core/Memory.h"
#include "pdfw/core/PdfwError.h"

namespace folvane::pdfw {

std::vector<unsigned char> encodeGroup4(std::uint32_t width, std::uint32_t height, int photometric,
                                        unsigned char *rows, std::size_t size,
                                        const std::string &path) {
    namespace g4 = folvane::group4;
    g4::Group4Page page;
    page.width = width;
    page.height = height;
    page.setBit = photometric == PHOTOMETRIC_MINISWHITE ? g4::SetBit::Black : g4::SetBit::White;
    std::vector<unsigned char> coded;
    std::string error;
    if (!g4::encodeStrip(page, rows, size, kMaxBufferBytes, coded, error)) {
        fail(PDFW_RUNTIME_ERROR,
             problemWith(PDFW_PROBLEM_INTERNAL, path,
                         "\"" + path + "\": cannot encode it as Group 4 (" + error + ")"));
    }
    return coded;
}

} // namespace folvane::pdfw
