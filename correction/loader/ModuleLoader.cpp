#include "correction/loader/ModuleLoader.h"

namespace folvane::correction {

std::string correctionModulePath() {
    return folvane::moduleBesideProgram("FOLVANE_CORRECTION_MODULE", FOLVANE_CORRECTION_MODULE_NAME,
                                        FOLVANE_CORRECTION_MODULE_INSTALLED);
}

const folvane::LoadedModule<CorrectionModule> &correctionModule() {
    static const folvane::LoadedModule<CorrectionModule> loaded =
        folvane::loadModule<CorrectionModule>(correctionModulePath(), kCorrectionModuleEntry);
    return loaded;
}

} // namespace folvane::correction
