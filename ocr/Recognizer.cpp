#include "ocr/Recognizer.h"

#include "ocr/EngineModule.h"
#include "ocr/Languages.h"
#include "ocr/ModuleLoader.h"
#include "ocr/OcrError.h"

namespace ocr {

Recognizer::Recognizer(const std::string &languages) : languages_(languages) {
    checkLanguages(languages);
    std::string error;
    engine_.reset(engineModule().open(dataFolder(), languages, error));
    if (!engine_) {
        throw OcrError(error);
    }
}

Recognizer::~Recognizer() = default;

PageText Recognizer::recognize(const PageImage &image) {
    PageText page;
    std::string error;
    if (!engine_->recognize(image, page, error)) {
        throw OcrError(error);
    }
    return page;
}

} // namespace ocr
