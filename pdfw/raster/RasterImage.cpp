#include "pdfw/raster/RasterImage.h"

#include <utility>

#include "pdfw/core/PdfwError.h"
#include "pdfw/raster/FlateEncoder.h"

namespace pdfw {

namespace {

// One plane of samples compressed for an image stream, and the filter entries that read it.
struct Packed {
    Buffer data;
    std::string filter;
};

// Samples of 8 and 16 bits that stand for colour or opacity (not palette indices) go through
// PNG predictors first: on photographs and scans that shrinks the output by a quarter and,
// with less left to match, speeds up the compressor. Fewer bits and palette indices are
// compressed as they are, which measures smaller.
Packed packPlane(Buffer &samples, const RasterImage &image, int components, bool indexed,
                 const MemoryProcs &memory) {
    int bits = image.bitsPerComponent;
    std::size_t rowBytes = rasterRowBytes(image.width, components, bits, "an image row");
    bool predict = (bits == 8 || bits == 16) && !indexed && image.height > 0 &&
                   samples.size() / image.height == rowBytes && samples.size() % image.height == 0;
    Packed packed;
    packed.filter = "/Filter/FlateDecode";
    if (!predict) {
        int level = bits <= 4 ? kFlateLevelFewBits : kFlateLevelContinuous;
        packed.data = flateCompress(samples.data(), samples.size(), level, memory);
        samples = Buffer();
        return packed;
    }
    std::size_t pixelBytes = static_cast<std::size_t>(components) * (bits / 8);
    Buffer rows = pngPredictRows(samples.data(), rowBytes, image.height, pixelBytes, memory);
    samples = Buffer();
    int level = bits == 16 ? kFlateLevelSixteenBits : kFlateLevelContinuous;
    packed.data = flateCompress(rows.data(), rows.size(), level, memory);
    packed.filter += "/DecodeParms<</Predictor 15/Colors " + std::to_string(components) +
                     "/BitsPerComponent " + std::to_string(bits) + "/Columns " +
                     std::to_string(image.width) + ">>";
    return packed;
}

} // namespace

std::size_t rasterRowBytes(std::uint32_t width, int components, int bits, const std::string &what) {
    std::size_t bitsPerRow = checkedSize(
        {width, static_cast<std::uint64_t>(components), static_cast<std::uint64_t>(bits)}, what);
    return bitsPerRow / 8 + (bitsPerRow % 8 != 0);
}

PreparedImage prepareRaster(RasterImage &image, int pdfMinor, const std::string &path,
                            const MemoryProcs &memory) {
    bool hasAlpha = image.alpha.size() > 0;
    if (hasAlpha && pdfMinor < 4) {
        fail(PDFW_TYPE_ERROR, unsupportedFile(path, "",
                                              "it has an alpha channel, which needs PDF 1.4 or "
                                              "later (compatibility is 1." +
                                                  std::to_string(pdfMinor) + ")"));
    }
    std::string size =
        "/Width " + std::to_string(image.width) + "/Height " + std::to_string(image.height);
    PreparedImage prepared;
    prepared.width = image.width;
    prepared.height = image.height;
    if (hasAlpha) {
        Packed packed = packPlane(image.alpha, image, 1, false, memory);
        std::string dict = "/Type/XObject/Subtype/Image" + size +
                           "/ColorSpace/DeviceGray/BitsPerComponent " +
                           std::to_string(image.bitsPerComponent) + packed.filter;
        if (image.premultiplied) {
            dict += "/Matte[";
            for (int i = 0; i < image.components; ++i) {
                dict += i ? " 0" : "0";
            }
            dict += "]";
        }
        prepared.group.objects.push_back(streamObject(dict, std::move(packed.data)));
    }
    bool indexed = !image.palette.empty();
    Packed packed = packPlane(image.pixels, image, image.components, indexed, memory);
    ObjectText dict = "/Type/XObject/Subtype/Image" + size + "/ColorSpace";
    if (indexed) {
        dict += "[/Indexed";
        appendColourSpace(dict, prepared.group, image.space);
        dict += " " + image.palette + "]";
    } else {
        appendColourSpace(dict, prepared.group, image.space);
    }
    dict += "/BitsPerComponent " + std::to_string(image.bitsPerComponent) + packed.filter;
    if (image.inverted) {
        dict += "/Decode[1 0]";
    }
    if (hasAlpha) {
        dict += "/SMask ";
        dict += ObjectRef::own(0);
    }
    prepared.xobject = prepared.group.objects.size();
    prepared.group.objects.push_back(streamObject(std::move(dict), std::move(packed.data)));
    return prepared;
}

} // namespace pdfw
