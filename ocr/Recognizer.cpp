#include "ocr/Recognizer.h"

#include "ocr/EngineModule.h"
#include "ocr/Languages.h"
#include "ocr/ModuleLoader.h"
#include "ocr/OcrError.h"

namespace ocr {

namespace {

// The engine's words without the prefix every recognition message carries.
std::string withoutPrefix(const std::string &error) {
    const std::string prefix = "text recognition: ";
    return error.compare(0, prefix.size(), prefix) == 0 ? error.substr(prefix.size()) : error;
}

} // namespace

Recognizer::Recognizer(const std::string &languages) : languages_(languages) {
    checkLanguages(languages);
    std::string error;
    engine_.reset(engineModule().open(dataFolder(), languages, error));
    if (!engine_) {
        throw OcrError(OcrError::Kind::Failed, "", withoutPrefix(error), error);
    }
}

Recognizer::~Recognizer() = default;

PageText Recognizer::recognize(const PageImage &image) {
    PageText page;
    std::string error;
    if (!engine_->recognize(image, page, error)) {
        throw OcrError(OcrError::Kind::Failed, "", withoutPrefix(error), error);
    }
    return page;
}

} // namespace ocr
