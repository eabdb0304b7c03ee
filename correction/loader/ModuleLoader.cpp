#include "correction/loader/ModuleLoader.h"

#include "base/ProgramModule.h"

namespace correction {

namespace {

LoadedModule load(const std::string &path) {
    LoadedModule loaded;
    folvane::OpenedModule opened = folvane::openModule(path, kCorrectionModuleEntry);
    switch (opened.failure) {
    case folvane::OpenedModule::Failure::CannotLoad:
        loaded.error = "the correction module " + path + " cannot be loaded: " + opened.reason;
        return loaded;
    case folvane::OpenedModule::Failure::NoEntry:
        loaded.error = path + " is not a correction module of this version (it has no " +
                       kCorrectionModuleEntry + ")";
        return loaded;
    case folvane::OpenedModule::Failure::None:
        break;
    }
    loaded.module = reinterpret_cast<CorrectionModuleEntry>(opened.entry)();
    if (!loaded.module) {
        loaded.error = "the correction module " + path + " failed to start";
    }
    return loaded;
}

} // namespace

std::string correctionModulePath() {
    return folvane::moduleBesideProgram("FOLVANE_CORRECTION_MODULE", FOLVANE_CORRECTION_MODULE_NAME,
                                        FOLVANE_CORRECTION_MODULE_INSTALLED);
}

const LoadedModule &correctionModule() {
    static const LoadedModule loaded = load(correctionModulePath());
    return loaded;
}

} // namespace correction
