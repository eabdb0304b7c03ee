#include "ocr/ModuleLoader.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>

#include <dlfcn.h>

#include "ocr/OcrError.h"

namespace ocr {

namespace {

std::string dlopenReason() {
    const char *reason = dlerror();
    return reason ? reason : "unknown reason";
}

EngineModule *load(const std::string &path) {
    // RTLD_LOCAL: Tesseract's symbols stay the module's and never stand in for the program's.
    void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::string reason = dlopenReason();
        throw OcrError(OcrError::Kind::Module, path, "cannot be loaded: " + reason,
                       "text recognition: the engine module " + path +
                           " cannot be loaded: " + reason);
    }
    auto entry = reinterpret_cast<EngineModuleEntry>(dlsym(handle, kEngineModuleEntry));
    if (!entry) {
        std::string reason = std::string("is not a text recognition module of this version (it "
                                         "has no ") +
                             kEngineModuleEntry + ")";
        throw OcrError(OcrError::Kind::Module, path, reason,
                       "text recognition: " + path + " is not a text recognition module of this " +
                           "version (it has no " + kEngineModuleEntry + ")");
    }
    EngineModule *module = entry();
    if (!module) {
        throw OcrError(OcrError::Kind::Module, path, "failed to start",
                       "text recognition: the engine module " + path + " failed to start");
    }
    return module;
}

} // namespace

std::string engineModulePath() {
    if (const char *path = std::getenv("FOLVANE_OCR_MODULE"); path && *path) {
        return path;
    }
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || program.empty()) {
        return FOLVANE_OCR_MODULE_INSTALLED;
    }
    return (program.parent_path().parent_path() / "lib" / "folvane" / FOLVANE_OCR_MODULE_NAME)
        .string();
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
