// The boundary between the programs and the correction over OpenCV. The correction lives in a
// shared module of its own (correction/module/, built from the folder's sources), loaded the
// first time a picture is corrected or searched, so that only a run that corrects pays for
// OpenCV. The functions of Correction.h that callers link (correction/loader/) forward to it.
//
// Both sides are built together from this header and Correction.h. No exception crosses it.
#pragma once

#include "correction/Correction.h"

namespace folvane::correction {

class CorrectionModule {
public:
    virtual ~CorrectionModule() = default;

    // The functions of Correction.h, as the module implements them.
    virtual SheetSearch findSheet(const Picture &picture) noexcept = 0;
    virtual CorrectedPage correctPage(const Picture &picture) noexcept = 0;
    virtual std::vector<CorrectedPage> correctPages(const Picture &picture) noexcept = 0;
    virtual bool isSpread(const Picture &picture) noexcept = 0;
    virtual const char *paperName(PaperSize paper) noexcept = 0;
};

// The module's one exported function gives its CorrectionModule, which lives as long as the
// process. The name carries the version of the class above and of the types of Correction.h
// and changes with them, so that a stale module is refused instead of called with the wrong
// layout.
inline constexpr const char *kCorrectionModuleEntry = "folvane_correction_engine_v6";
using CorrectionModuleEntry = CorrectionModule *(*)();

} // namespace folvane::correction
