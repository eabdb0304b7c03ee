// Finding and loading the engine module (see EngineModule.h).
#pragma once

#include <string>

#include "ocr/EngineModule.h"

namespace folvane::ocr {

// FOLVANE_OCR_MODULE when set, else lib/folvane/ beside the folder of the running program:
// <build>/bin and <build>/lib/folvane in the build tree, /usr/bin and /usr/lib/folvane when
// installed.
std::string engineModulePath();

// The engine module, loaded on the first call and kept for the rest of the process (its
// engines may live until the end). Safe to call from several threads at once. Raises OcrError
// naming the module's path and the reason when it cannot be loaded; the next call tries again.
EngineModule &engineModule();

} // namespace folvane::ocr
