#include "ocr/ModuleLoader.h"

#include <mutex>

#include "base/LoadedModule.h"
#include "ocr/OcrError.h"

namespace folvane::ocr {

namespace {

EngineModule *load(const std::string &path) {
    folvane::LoadedModule<EngineModule> loaded =
        folvane::loadModule<EngineModule>(path, kEngineModuleEntry);
    switch (loaded.failure) {
    case folvane::ModuleFailure::None:
        break;
    case folvane::ModuleFailure::CannotLoad:
        throw OcrError({Failure::Kind::ModuleCannotLoad, path, loaded.reason});
    case folvane::ModuleFailure::WrongVersion:
        throw OcrError({Failure::Kind::ModuleWrongVersion, path});
    case folvane::ModuleFailure::FailedToStart:
        throw OcrError({Failure::Kind::ModuleFailedToStart, path});
    }
    return loaded.module;
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

} // namespace folvane::ocr
