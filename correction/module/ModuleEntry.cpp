// The correction module's entry: the functions of Correction.h, built into the module from
// correction/*.cpp, behind the interface of CorrectionModule.h. Everything else in the module
// is hidden by the build, so its findSheet and correctPage never meet the forwarding ones of
// the program that loads it.
#include "correction/module/CorrectionModule.h"

namespace folvane::correction {

namespace {

class OpenCvCorrection final : public CorrectionModule {
public:
    SheetSearch findSheet(const Picture &picture) noexcept override {
        return correction::findSheet(picture);
    }
    CorrectedPage correctPage(const Picture &picture) noexcept override {
        return correction::correctPage(picture);
    }
    std::vector<CorrectedPage> correctPages(const Picture &picture) noexcept override {
        return correction::correctPages(picture);
    }
    bool isSpread(const Picture &picture) noexcept override {
        return correction::isSpread(picture);
    }
    const char *paperName(PaperSize paper) noexcept override {
        return correction::paperName(paper);
    }
};

} // namespace

} // namespace folvane::correction

// The one symbol the module exports.
extern "C" __attribute__((visibility("default"))) folvane::correction::CorrectionModule *
folvane_correction_engine_v6() {
    static folvane::correction::OpenCvCorrection module;
    return &module;
}
