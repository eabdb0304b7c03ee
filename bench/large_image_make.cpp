// Pictures for the large-image benchmark, written a band of rows at a time (never whole):
//   large_image_make scan16 OUT.tif WIDTH HEIGHT   RGB, 16-bit samples, Deflate, 8-row strips
//   large_image_make grey OUT.png SIDE             grey, 8 bits, SIDE x SIDE
// The samples are a smooth gradient with grain in the low bits, as a scan has.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/LargeImages.h"

namespace {

std::uint32_t Grain(std::uint32_t x, std::uint32_t y) {
    std::uint32_t h = x * 0x9E3779B1u ^ y * 0x85EBCA77u;
    return (h ^ h >> 15) & 0xFF;
}

void Scan16(const std::string &path, std::uint32_t width, std::uint32_t height) {
    support::TiffPage page;
    page.width = width;
    page.height = height;
    page.samplesPerPixel = 3;
    page.bitsPerSample = 16;
    page.photometric = PHOTOMETRIC_RGB;
    page.compression = COMPRESSION_ADOBE_DEFLATE;
    page.rowsPerStrip = 8;
    support::WriteTiffRows(path, page, [width](std::uint32_t y, std::uint8_t *row) {
        auto *samples = reinterpret_cast<std::uint16_t *>(row);
        for (std::uint32_t x = 0; x < width; ++x) {
            for (std::uint32_t c = 0; c < 3; ++c) {
                samples[x * 3 + c] =
                    static_cast<std::uint16_t>((x * 5 + y * 3 + c * 9000) * 4 + Grain(x, y + c));
            }
        }
    });
}

void Grey(const std::string &path, std::uint32_t side) {
    support::PngImage image;
    image.width = image.height = side;
    image.colour = support::PngColour::Grey;
    image.bitDepth = 8;
    support::WritePngRows(path, image, [side](std::uint32_t y, std::uint8_t *row) {
        for (std::uint32_t x = 0; x < side; ++x) {
            row[x] = static_cast<std::uint8_t>((x / 40 + y / 40) + (Grain(x, y) & 7));
        }
    });
}

} // namespace

int main(int argc, char **argv) {
    std::string kind = argc > 2 ? argv[1] : "";
    if (kind == "scan16" && argc == 5) {
        Scan16(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
        return 0;
    }
    if (kind == "grey" && argc == 4) {
        Grey(argv[2], std::atoi(argv[3]));
        return 0;
    }
    std::fprintf(stderr, "usage: large_image_make scan16 OUT.tif WIDTH HEIGHT\n"
                         "       large_image_make grey OUT.png SIDE\n");
    return 2;
}
