#include "ocr/Recognizer.h"

#include <utility>

#include "ocr/EngineModule.h"
#include "ocr/Languages.h"
#include "ocr/ModuleLoader.h"
#include "ocr/OcrError.h"

namespace folvane::ocr {

Recognizer::Recognizer(const std::string &languages) : languages_(languages) {
    checkLanguages(languages);
    Failure failure;
    engine_.reset(engineModule().open(dataFolder(), languages, failure));
    if (!engine_) {
        throw OcrError(std::move(failure));
    }
}

Recognizer::~Recognizer() = default;

PageText Recognizer::recognize(const PageImage &image) {
    PageText page;
    Failure failure;
    if (!engine_->recognize(image, page, failure)) {
        throw OcrError(std::move(failure));
    }
    return page;
}

} // namespace folvane::ocr
