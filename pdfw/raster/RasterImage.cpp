#include "pdfw/raster/RasterImage.h"

#include <optional>
#include <utility>

#include "pdfw/core/PdfwError.h"
#include "pdfw/raster/FlateEncoder.h"

namespace folvane::pdfw {

namespace {

// Samples of 8 and 16 bits that stand for colour or opacity (not palette indices) go through
// PNG predictors first: on photographs and scans that shrinks the output by a quarter and,
// with less left to match, speeds up the compressor. Fewer bits and palette indices are
// compressed as they are, which measures smaller.
RasterPlane packPlane(Buffer &samples, const RasterImage &image, int components, bool indexed,
                      const MemoryProcs &memory) {
    int bits = image.bitsPerComponent;
    std::size_t rowBytes = rasterRowBytes(image.width, components, bits, "an image row");
    bool predict = (bits == 8 || bits == 16) && !indexed && image.height > 0 &&
                   samples.size() / image.height == rowBytes && samples.size() % image.height == 0;
    RasterPlane packed;
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
    packed.filter = rasterFilter(image, components, true);
    return packed;
}

} // namespace

std::size_t rasterRowBytes(std::uint32_t width, int components, int bits, const std::string &what) {
    std::size_t bitsPerRow = checkedSize(
        {width, static_cast<std::uint64_t>(components), static_cast<std::uint64_t>(bits)}, what);
    return bitsPerRow / 8 + (bitsPerRow % 8 != 0);
}

RasterImage rasterLayout(const RasterImage &image) {
    RasterImage layout;
    layout.width = image.width;
    layout.height = image.height;
    layout.bitsPerComponent = image.bitsPerComponent;
    layout.components = image.components;
    layout.space = image.space;
    layout.palette = image.palette;
    layout.inverted = image.inverted;
    layout.premultiplied = image.premultiplied;
    layout.dropOpaqueAlpha = image.dropOpaqueAlpha;
    return layout;
}

std::string rasterFilter(const RasterImage &image, int components, bool predicted) {
    std::string filter = "/Filter/FlateDecode";
    if (predicted) {
        filter += "/DecodeParms<</Predictor 15/Colors " + std::to_string(components) +
                  "/BitsPerComponent " + std::to_string(image.bitsPerComponent) + "/Columns " +
                  std::to_string(image.width) + ">>";
    }
    return filter;
}

bool rasterPredicted(const RasterImage &image, bool indexed) {
    return (image.bitsPerComponent == 8 || image.bitsPerComponent == 16) && !indexed;
}

void checkRasterAlpha(int pdfMinor, const std::string &path) {
    if (pdfMinor < 4) {
        fail(PDFW_TYPE_ERROR, unsupportedFile(path, "",
                                              "it has an alpha channel, which needs PDF 1.4 or "
                                              "later (compatibility is 1." +
                                                  std::to_string(pdfMinor) + ")"));
    }
}

PreparedImage rasterObjects(const RasterImage &layout, std::optional<RasterPlane> alpha,
                            RasterPlane pixels) {
    std::string size =
        "/Width " + std::to_string(layout.width) + "/Height " + std::to_string(layout.height);
    PreparedImage prepared;
    prepared.width = layout.width;
    prepared.height = layout.height;
    if (alpha) {
        std::string dict = "/Type/XObject/Subtype/Image" + size +
                           "/ColorSpace/DeviceGray/BitsPerComponent " +
                           std::to_string(layout.bitsPerComponent) + alpha->filter;
        if (layout.premultiplied) {
            dict += "/Matte[";
            for (int i = 0; i < layout.components; ++i) {
                dict += i ? " 0" : "0";
            }
            dict += "]";
        }
        prepared.group.objects.push_back(alpha->object(dict));
    }
    bool indexed = !layout.palette.empty();
    ObjectText dict = "/Type/XObject/Subtype/Image" + size + "/ColorSpace";
    if (indexed) {
        dict += "[/Indexed";
        appendColourSpace(dict, prepared.group, layout.space);
        dict += " " + layout.palette + "]";
    } else {
        appendColourSpace(dict, prepared.group, layout.space);
    }
    dict += "/BitsPerComponent " + std::to_string(layout.bitsPerComponent) + pixels.filter;
    if (layout.inverted) {
        dict += "/Decode[1 0]";
    }
    if (alpha) {
        dict += "/SMask ";
        dict += ObjectRef::own(0);
    }
    prepared.xobject = prepared.group.objects.size();
    prepared.group.objects.push_back(pixels.object(std::move(dict)));
    return prepared;
}

PreparedObject RasterPlane::object(ObjectText dictionary) {
    if (file) {
        return streamObject(std::move(dictionary), std::move(*file));
    }
    return streamObject(std::move(dictionary), std::move(data));
}

PreparedImage prepareRaster(RasterImage &image, int pdfMinor, const std::string &path,
                            const MemoryProcs &memory) {
    bool hasAlpha = image.alpha.size() > 0;
    if (hasAlpha) {
        checkRasterAlpha(pdfMinor, path);
    }
    std::optional<RasterPlane> alpha;
    if (hasAlpha) {
        alpha = packPlane(image.alpha, image, 1, false, memory);
    }
    bool indexed = !image.palette.empty();
    RasterPlane pixels = packPlane(image.pixels, image, image.components, indexed, memory);
    return rasterObjects(image, std::move(alpha), std::move(pixels));
}

} // namespace folvane::pdfw
