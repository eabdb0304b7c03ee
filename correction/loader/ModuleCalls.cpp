// The functions of Correction.h that the programs link: each hands the picture to the
// correction module, which the first call loads. A module that cannot be loaded gives results
// whose error names it and the reason, as any other picture that cannot be corrected.
#include "correction/Correction.h"

#include "correction/loader/ModuleLoader.h"

namespace correction {

SheetSearch findSheet(const Picture &picture) {
    const LoadedModule &loaded = correctionModule();
    if (!loaded.module) {
        SheetSearch search;
        search.error = "finding the sheet: " + loaded.error;
        return search;
    }
    return loaded.module->findSheet(picture);
}

CorrectedPage correctPage(const Picture &picture) {
    const LoadedModule &loaded = correctionModule();
    if (!loaded.module) {
        CorrectedPage page;
        page.error = "correcting the page: " + loaded.error;
        return page;
    }
    return loaded.module->correctPage(picture);
}

const char *paperName(PaperSize paper) {
    const LoadedModule &loaded = correctionModule();
    return loaded.module ? loaded.module->paperName(paper) : "unknown";
}

} // namespace correction
