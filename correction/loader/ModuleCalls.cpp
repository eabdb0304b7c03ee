// The functions of Correction.h that the programs link: each hands the picture to the
// correction module, which the first call loads. A module that cannot be loaded gives results
// whose failure names it and the reason, as any other picture that cannot be corrected.
#include "correction/Correction.h"

#include "correction/loader/ModuleLoader.h"

namespace folvane::correction {

namespace {

Failure moduleFailure(const folvane::LoadedModule<CorrectionModule> &loaded) {
    switch (loaded.failure) {
    case folvane::ModuleFailure::CannotLoad:
        return {Failure::Kind::ModuleCannotLoad, loaded.path, loaded.reason};
    case folvane::ModuleFailure::WrongVersion:
        return {Failure::Kind::ModuleWrongVersion, loaded.path, ""};
    case folvane::ModuleFailure::FailedToStart:
    case folvane::ModuleFailure::None:
        break;
    }
    return {Failure::Kind::ModuleFailedToStart, loaded.path, ""};
}

} // namespace

SheetSearch findSheet(const Picture &picture) {
    const auto &loaded = correctionModule();
    if (!loaded.module) {
        SheetSearch search;
        search.failure = moduleFailure(loaded);
        return search;
    }
    return loaded.module->findSheet(picture);
}

CorrectedPage correctPage(const Picture &picture) {
    const auto &loaded = correctionModule();
    if (!loaded.module) {
        CorrectedPage page;
        page.failure = moduleFailure(loaded);
        return page;
    }
    return loaded.module->correctPage(picture);
}

std::vector<CorrectedPage> correctPages(const Picture &picture) {
    const auto &loaded = correctionModule();
    if (!loaded.module) {
        CorrectedPage page;
        page.failure = moduleFailure(loaded);
        return {page};
    }
    return loaded.module->correctPages(picture);
}

bool isSpread(const Picture &picture) {
    const auto &loaded = correctionModule();
    return loaded.module && loaded.module->isSpread(picture);
}

const char *paperName(PaperSize paper) {
    const auto &loaded = correctionModule();
    return loaded.module ? loaded.module->paperName(paper) : "unknown";
}

} // namespace folvane::correction
