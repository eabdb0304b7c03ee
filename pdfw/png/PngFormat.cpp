#include "pdfw/png/PngFormat.h"

#include <cstring>
#include <vector>

#include "pdfw/png/PngDecoder.h"
#include "pdfw/png/PngImage.h"
#include "pdfw/raster/PicturePixels.h"
#include "pdfw/raster/RecognitionPixels.h"

namespace pdfw {

namespace {

bool recognisesPng(const unsigned char *head, std::size_t size) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return size >= 8 && std::memcmp(head, kSignature, 8) == 0;
}

PageFacts inspectPngPage(const InputFile &file, int /*page*/, int pdfMinor) {
    PngPlan plan = planPng(file, pdfMinor, MemoryProcs{});
    PageFacts facts;
    facts.width = plan.info.width;
    facts.height = plan.info.height;
    facts.intake = plan.copy ? PDFW_INTAKE_COPIED : PDFW_INTAKE_RECOMPRESSED;
    return facts;
}

PagePixels pngRecognitionPixels(const InputFile &file, int /*page*/, const MemoryProcs &memory) {
    DecodedPng png = decodePng(file, 4, memory);
    std::vector<unsigned char> greys;
    for (std::size_t i = 0; i + 2 < png.palette.size(); i += 3) {
        greys.push_back(lumaOf(png.palette[i], png.palette[i + 1], png.palette[i + 2]));
    }
    return rasterForRecognition(png.raster, png.indexed ? &greys : nullptr, 1, kScanDpi, memory);
}

PagePicture pngPicture(const InputFile &file, int /*page*/, const MemoryProcs &memory) {
    DecodedPng png = decodePng(file, 4, memory);
    return rasterToPicture(png.raster, png.indexed ? &png.palette : nullptr, memory);
}

} // namespace

const ImageFormat kPngFormat = {.name = "PNG",
                                .recognises = recognisesPng,
                                .countPages = nullptr,
                                .inspect = inspectPngPage,
                                .prepare = preparePng,
                                .recognitionPixels = pngRecognitionPixels,
                                .picture = pngPicture};

} // namespace pdfw
