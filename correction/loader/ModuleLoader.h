// Finding and loading the correction module (see correction/module/CorrectionModule.h).
#pragma once

#include <string>

#include "correction/module/CorrectionModule.h"

namespace correction {

// FOLVANE_CORRECTION_MODULE when set, else lib/folvane/ beside the folder of the running
// program: <build>/bin and <build>/lib/folvane in the build tree, /usr/bin and /usr/lib/folvane
// when installed.
std::string correctionModulePath();

struct LoadedModule {
    CorrectionModule *module = nullptr; // lives as long as the process; null when not loaded
    std::string error; // when not loaded: the module's path and why it could not be loaded
};

// The module, loaded on the first call; the outcome, either way, stays for the rest of the
// process, so every picture of a run meets the same module or the same reason. Safe to call
// from several threads at once.
const LoadedModule &correctionModule();

} // namespace correction
