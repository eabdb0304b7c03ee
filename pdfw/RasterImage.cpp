#include "pdfw/RasterImage.h"

#include "pdfw/FlateEncoder.h"
#include "pdfw/PdfwError.h"

namespace pdfw {

std::size_t rasterRowBytes(std::uint32_t width, int components, int bits, const std::string &what) {
    std::size_t bitsPerRow = checkedSize(
        {width, static_cast<std::uint64_t>(components), static_cast<std::uint64_t>(bits)}, what);
    return bitsPerRow / 8 + (bitsPerRow % 8 != 0);
}

int writeRaster(ObjectWriter &writer, RasterImage &image, int pdfMinor, const std::string &path,
                const MemoryProcs &memory) {
    bool hasAlpha = image.alpha.size() > 0;
    int level = image.bitsPerComponent <= 4 ? kFlateLevelFewBits : kFlateLevelContinuous;
    if (hasAlpha && pdfMinor < 4) {
        fail(PDFW_TYPE_ERROR, "\"" + path +
                                  "\" has an alpha channel, which needs PDF 1.4 or "
                                  "later (compatibility is 1." +
                                  std::to_string(pdfMinor) + ")");
    }
    std::string size =
        "/Width " + std::to_string(image.width) + "/Height " + std::to_string(image.height);
    int mask = 0;
    if (hasAlpha) {
        Buffer packed = flateCompress(image.alpha.data(), image.alpha.size(), level, memory);
        image.alpha = Buffer();
        std::string dict = "/Type/XObject/Subtype/Image" + size +
                           "/ColorSpace/DeviceGray/BitsPerComponent " +
                           std::to_string(image.bitsPerComponent) + "/Filter/FlateDecode";
        if (image.premultiplied) {
            dict += "/Matte[";
            for (int i = 0; i < image.components; ++i) {
                dict += i ? " 0" : "0";
            }
            dict += "]";
        }
        mask = writer.reserve();
        writer.writeStream(mask, dict, packed.data(), packed.size());
    }
    Buffer packed = flateCompress(image.pixels.data(), image.pixels.size(), level, memory);
    image.pixels = Buffer();
    std::string dict = "/Type/XObject/Subtype/Image" + size + "/ColorSpace" + image.colorSpace +
                       "/BitsPerComponent " + std::to_string(image.bitsPerComponent) +
                       "/Filter/FlateDecode";
    if (image.inverted) {
        dict += "/Decode[1 0]";
    }
    if (mask) {
        dict += "/SMask " + std::to_string(mask) + " 0 R";
    }
    int object = writer.reserve();
    writer.writeStream(object, dict, packed.data(), packed.size());
    return object;
}

} // namespace pdfw
