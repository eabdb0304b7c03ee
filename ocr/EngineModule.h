// The boundary between the programs and the Tesseract-backed engine. The engine lives in a
// shared module of its own (ocr/engine/), loaded the first time a Recognizer is made, so that
// only a run that recognises text pays for Tesseract and the libraries behind it.
//
// Both sides are built together from this header. No exception crosses it: the module catches
// everything its engine throws and hands it over as a Failure, a kind with its fields.
#pragma once

#include <string>

#include "ocr/OcrError.h"
#include "ocr/PageImage.h"
#include "ocr/PageText.h"

namespace folvane::ocr {

// One engine with its languages loaded, used by one thread at a time. Deleting it frees the
// engine; that never throws.
class ModuleEngine {
public:
    virtual ~ModuleEngine() = default;

    // Fills `page` with the words on `image`. On failure (a malformed image, recognition
    // failing, memory running out) returns false with what went wrong in `failure`.
    virtual bool recognize(const PageImage &image, PageText &page, Failure &failure) noexcept = 0;
};

class EngineModule {
public:
    virtual ~EngineModule() = default;

    // A new engine for `languages` ("chi_sim+eng") with the data in `dataFolder`, owned by
    // the caller. When they cannot be loaded: nullptr, with what went wrong in `failure`.
    virtual ModuleEngine *open(const std::string &dataFolder, const std::string &languages,
                               Failure &failure) noexcept = 0;
};

// The module's one exported function gives its EngineModule, which lives as long as the
// process. The name carries the version of the classes above and changes with them, so that a
// stale module is refused instead of called through the wrong table.
inline constexpr const char *kEngineModuleEntry = "folvane_ocr_engine_v2";
using EngineModuleEntry = EngineModule *(*)();

} // namespace folvane::ocr
