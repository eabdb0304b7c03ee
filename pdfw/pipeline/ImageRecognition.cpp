#include "pdfw/pipeline/ImageRecognition.h"

#include <utility>

#include "ocr/Languages.h"
#include "ocr/Recognizer.h"
#include "pdfw/core/Orientation.h"
#include "pdfw/core/PdfwError.h"

namespace folvane::pdfw {

namespace {

// This thread's engine for `languages` from the data folder in force now.
folvane::ocr::Recognizer &threadEngine(const std::string &languages) {
    thread_local std::unique_ptr<folvane::ocr::Recognizer> engine;
    thread_local std::string loadedFrom;
    std::string folder = folvane::ocr::dataFolder();
    if (!engine || engine->languages() != languages || loadedFrom != folder) {
        engine.reset();
        engine = std::make_unique<folvane::ocr::Recognizer>(languages);
        loadedFrom = folder;
    }
    return *engine;
}

// Word places found on a reduced picture, as places on the upright picture at its own size.
void enlarge(folvane::ocr::PageText &text, const PagePixels &pixels) {
    const int factor = pixels.reduction;
    auto scale = [factor](folvane::ocr::Box &box) {
        box.left *= factor;
        box.top *= factor;
        box.right *= factor;
        box.bottom *= factor;
    };
    bool turned = swapsAxes(pixels.image.orientation);
    text.width = turned ? pixels.storedHeight : pixels.storedWidth;
    text.height = turned ? pixels.storedWidth : pixels.storedHeight;
    for (folvane::ocr::Word &word : text.words) {
        scale(word.box);
        scale(word.line);
        word.baselineLeft *= factor;
        word.baselineRight *= factor;
    }
}

} // namespace

Problem recognitionProblem(const folvane::ocr::OcrError &error, const std::string &file) {
    using Kind = folvane::ocr::Failure::Kind;
    const folvane::ocr::Failure &failure = error.failure();
    Problem problem = problemWith(PDFW_PROBLEM_RECOGNITION, file, failure.detail);
    problem.item = failure.subject;
    switch (failure.kind) {
    case Kind::LanguageNames:
        problem.kind = PDFW_PROBLEM_LANGUAGE_NAMES;
        break;
    case Kind::LanguageMissing:
        problem.kind = PDFW_PROBLEM_LANGUAGE_MISSING;
        break;
    case Kind::LanguageData:
        problem.kind = PDFW_PROBLEM_LANGUAGE_DATA;
        break;
    case Kind::ModuleCannotLoad:
    case Kind::ModuleWrongVersion:
    case Kind::ModuleFailedToStart:
        problem.kind = PDFW_PROBLEM_RECOGNITION_MODULE;
        problem.numbers[0] = failure.kind == Kind::ModuleCannotLoad ? PDFW_MODULE_CANNOT_LOAD
                             : failure.kind == Kind::ModuleWrongVersion
                                 ? PDFW_MODULE_WRONG_VERSION
                                 : PDFW_MODULE_FAILED_TO_START;
        break;
    case Kind::OutOfMemory:
        problem.kind = PDFW_PROBLEM_MEMORY;
        problem.item = "text recognition";
        break;
    case Kind::None:
    case Kind::Failed:
        problem.numbers[0] = failure.width;
        problem.numbers[1] = failure.height;
        break;
    }
    return problem;
}

std::shared_ptr<const folvane::ocr::PageText> recognizeImage(const PagePixels &pixels,
                                                             const ImageRequest &request) {
    try {
        folvane::ocr::PageText text = threadEngine(request.ocrLanguages).recognize(pixels.image);
        if (pixels.reduction > 1) {
            enlarge(text, pixels);
        }
        return std::make_shared<const folvane::ocr::PageText>(std::move(text));
    } catch (const folvane::ocr::OcrError &error) {
        Problem problem = recognitionProblem(error, request.path);
        problem.page = request.page;
        fail(PDFW_RUNTIME_ERROR, std::move(problem));
    }
}

} // namespace folvane::pdfw
