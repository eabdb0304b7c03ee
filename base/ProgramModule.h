// Modules the programs load on first use (lib/folvane/NAME beside their bin folder): where the
// running program finds one, and opening it for its one entry point. Header-only; a library
// using it links the dynamic loader (CMAKE_DL_LIBS).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include <dlfcn.h>

namespace folvane {

// `variable`'s value when the environment sets it, else lib/folvane/`file` beside the folder of
// the running program (<build>/bin and <build>/lib/folvane in the build tree, /usr/bin and
// /usr/lib/folvane when installed), else `installed` when the program's path is unknown.
inline std::string moduleBesideProgram(const char *variable, const char *file,
                                       const char *installed) {
    if (const char *path = std::getenv(variable); path && *path) {
        return path;
    }
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || program.empty()) {
        return installed;
    }
    return (program.parent_path().parent_path() / "lib" / "folvane" / file).string();
}

struct OpenedModule {
    enum class Failure { None, CannotLoad, NoEntry };
    Failure failure = Failure::None;
    std::string reason; // the dynamic loader's words when it cannot be loaded
    void *entry = nullptr;
};

// Opens the module at `path` for good (it is never closed) and looks up `entrySymbol`.
// RTLD_LOCAL: the libraries the module brings keep their symbols to themselves and never stand
// in for the program's.
inline OpenedModule openModule(const std::string &path, const char *entrySymbol) {
    OpenedModule opened;
    void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char *reason = dlerror();
        opened.failure = OpenedModule::Failure::CannotLoad;
        opened.reason = reason ? reason : "unknown reason";
        return opened;
    }
    opened.entry = dlsym(handle, entrySymbol);
    if (!opened.entry) {
        opened.failure = OpenedModule::Failure::NoEntry;
    }
    return opened;
}

} // namespace folvane
