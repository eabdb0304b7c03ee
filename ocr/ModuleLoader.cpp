#include "ocr/ModuleLoader.h"

#include <mutex>

#include "base/ProgramModule.h"
#include "ocr/OcrError.h"

namespace ocr {

namespace {

EngineModule *load(const std::string &path) {
    folvane::OpenedModule opened = folvane::openModule(path, kEngineModuleEntry);
    if (opened.failure == folvane::OpenedModule::Failure::CannotLoad) {
        throw OcrError(OcrError::Kind::Module, path, "cannot be loaded: " + opened.reason,
                       "text recognition: the engine module " + path +
                           " cannot be loaded: " + opened.reason);
    }
    if (opened.failure == folvane::OpenedModule::Failure::NoEntry) {
        std::string reason = std::string("is not a text recognition module of this version (it "
                                         "has no ") +
                             kEngineModuleEntry + ")";
        throw OcrError(OcrError::Kind::Module, path, reason,
                       "text recognition: " + path + " is not a text recognition module of this " +
                           "version (it has no " + kEngineModuleEntry + ")");
    }
    EngineModule *module = reinterpret_cast<EngineModuleEntry>(opened.entry)();
    if (!module) {
        throw OcrError(OcrError::Kind::Module, path, "failed to start",
                       "text recognition: the engine module " + path + " failed to start");
    }
    return module;
}

} // namespace

std::string engineModulePath() {
    return folvane::moduleBesideProgram("FOLVANE_OCR_MODULE", FOLVANE_OCR_MODULE_NAME,
                                        FOLVANE_OCR_MODULE_INSTALLED);
}

EngineModule &engineModule() {
    static std::mutex mutex;
    static EngineModule *loaded = nullptr;
    std::lock_guard<std::mutex> lock(mutex);
    if (!loaded) {
        loaded = load(engineModulePath());
    }
    return *loaded;
}

} // namespace ocr
