#include "pdfw/png/PngFormat.h"

#include <cstring>
#include <vector>

#include "base/FileSignatures.h"
#include "pdfw/core/PictureLimits.h"
#include "pdfw/core/UnnamedFile.h"
#include "pdfw/png/PngDecoder.h"
#include "pdfw/png/PngImage.h"
#include "pdfw/raster/GreyCanvas.h"
#include "pdfw/raster/PicturePixels.h"
#include "pdfw/raster/RecognitionPixels.h"

namespace folvane::pdfw {

namespace {

bool recognisesPng(const unsigned char *head, std::size_t size) {
    return folvane::isPngSignature(head, size);
}

PageFacts inspectPngPage(const InputFile &file, int /*page*/, int pdfMinor) {
    PngPlan plan = planPng(file, pdfMinor, MemoryProcs{});
    PageFacts facts;
    facts.width = plan.info.width;
    facts.height = plan.info.height;
    facts.intake = plan.copy ? PDFW_INTAKE_COPIED : PDFW_INTAKE_RECOMPRESSED;
    return facts;
}

std::vector<unsigned char> entryGreys(const std::vector<unsigned char> &palette) {
    std::vector<unsigned char> greys;
    for (std::size_t i = 0; i + 2 < palette.size(); i += 3) {
        greys.push_back(lumaOf(palette[i], palette[i + 1], palette[i + 2]));
    }
    return greys;
}

// A picture too large to hold, read a band at a time into a grey picture of the size
// recognition needs.
PagePixels pngRecognitionBands(const InputFile &file, const PngInfo &info,
                               const MemoryProcs &memory) {
    GreyCanvas canvas(info.width, info.height, kScanDpi, memory);
    std::vector<unsigned char> greys = entryGreys(info.palette);
    const bool indexed = info.colourType == kPngPalette;
    DecodedPng header;
    decodePngBands(
        file, 4, memory, bandBytes(), temporaryFolder(),
        [&](RasterImage &band) { canvas.add(band, indexed ? &greys : nullptr); }, header);
    return canvas.finish(1);
}

PagePixels pngRecognitionPixels(const InputFile &file, int /*page*/, const MemoryProcs &memory) {
    PngInfo info = readPng(file);
    checkPictureSides(file.path(), "PNG", info.width, info.height);
    if ((std::uint64_t{pngRowBytes(info)} + 1) * info.height > wholePictureBytes()) {
        return pngRecognitionBands(file, info, memory);
    }
    DecodedPng png = decodePng(file, 4, memory);
    std::vector<unsigned char> greys = entryGreys(png.palette);
    return rasterForRecognition(png.raster, png.indexed ? &greys : nullptr, 1, kScanDpi, memory);
}

PagePicture pngPicture(const InputFile &file, int /*page*/, const MemoryProcs &memory) {
    DecodedPng png = decodePng(file, 4, memory);
    return rasterToPicture(png.raster, png.indexed ? &png.palette : nullptr, memory);
}

} // namespace

const ImageFormat kPngFormat = {.name = "PNG",
                                .bit = PDFW_FORMAT_PNG,
                                .recognises = recognisesPng,
                                .countPages = nullptr,
                                .inspect = inspectPngPage,
                                .prepare = preparePng,
                                .recognitionPixels = pngRecognitionPixels,
                                .picture = pngPicture};

} // namespace folvane::pdfw
