#include "correction/loader/ModuleLoader.h"

#include <cstdlib>
#include <filesystem>

#include <dlfcn.h>

namespace correction {

namespace {

std::string dlopenReason() {
    const char *reason = dlerror();
    return reason ? reason : "unknown reason";
}

LoadedModule load(const std::string &path) {
    LoadedModule loaded;
    // RTLD_LOCAL: OpenCV's symbols stay the module's and never stand in for the program's.
    void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        loaded.error = "the correction module " + path + " cannot be loaded: " + dlopenReason();
        return loaded;
    }
    auto entry = reinterpret_cast<CorrectionModuleEntry>(dlsym(handle, kCorrectionModuleEntry));
    if (!entry) {
        loaded.error = path + " is not a correction module of this version (it has no " +
                       kCorrectionModuleEntry + ")";
        return loaded;
    }
    loaded.module = entry();
    if (!loaded.module) {
        loaded.error = "the correction module " + path + " failed to start";
    }
    return loaded;
}

} // namespace

std::string correctionModulePath() {
    if (const char *path = std::getenv("FOLVANE_CORRECTION_MODULE"); path && *path) {
        return path;
    }
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || program.empty()) {
        return FOLVANE_CORRECTION_MODULE_INSTALLED;
    }
    return (program.parent_path().parent_path() / "lib" / "folvane" /
            FOLVANE_CORRECTION_MODULE_NAME)
        .string();
}

const LoadedModule &correctionModule() {
    static const LoadedModule loaded = load(correctionModulePath());
    return loaded;
}

} // namespace correction
