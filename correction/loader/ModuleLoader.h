// Finding and loading the correction module (see correction/module/CorrectionModule.h).
#pragma once

#include <string>

#include "base/LoadedModule.h"
#include "correction/module/CorrectionModule.h"

namespace folvane::correction {

// FOLVANE_CORRECTION_MODULE when set, else lib/folvane/ beside the folder of the running
// program: <build>/bin and <build>/lib/folvane in the build tree, /usr/bin and /usr/lib/folvane
// when installed.
std::string correctionModulePath();

// The module, loaded on the first call; the outcome, either way, stays for the rest of the
// process, so every picture of a run meets the same module or the same reason. Safe to call
// from several threads at once.
const folvane::LoadedModule<CorrectionModule> &correctionModule();

} // namespace folvane::correction
