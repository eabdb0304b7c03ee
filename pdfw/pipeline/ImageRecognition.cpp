#include "pdfw/pipeline/ImageRecognition.h"

#include "ocr/Languages.h"
#include "ocr/OcrError.h"
#include "ocr/Recognizer.h"
#include "pdfw/core/PdfwError.h"
#include "pdfw/raster/OcrPixels.h"

namespace pdfw {

namespace {

// This thread's engine for `languages` from the data folder in force now.
ocr::Recognizer &threadEngine(const std::string &languages) {
    thread_local std::unique_ptr<ocr::Recognizer> engine;
    thread_local std::string loadedFrom;
    std::string folder = ocr::dataFolder();
    if (!engine || engine->languages() != languages || loadedFrom != folder) {
        engine.reset();
        engine = std::make_unique<ocr::Recognizer>(languages);
        loadedFrom = folder;
    }
    return *engine;
}

} // namespace

std::shared_ptr<const ocr::PageText> recognizeImage(const ImageRequest &request) {
    OcrPixels pixels = pixelsForOcr(request.path, request.page, request.memory);
    try {
        return std::make_shared<const ocr::PageText>(
            threadEngine(request.ocrLanguages).recognize(pixels.image));
    } catch (const ocr::OcrError &error) {
        fail(PDFW_RUNTIME_ERROR, "\"" + request.path + "\": " + error.what());
    }
}

} // namespace pdfw
