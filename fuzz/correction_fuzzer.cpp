// Runs the document correction on small pictures of any content, shape, orientation and kind,
// with and without hand-placed corners (fuzz/CorrectionInput.h has the layout).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "correction/Correction.h"
#include "fuzz/CorrectionInput.h"

namespace {

// A page that says it succeeded holds what it says it holds.
void checkPage(const folvane::correction::CorrectedPage &page) {
    size_t pixels = static_cast<size_t>(page.width) * page.height;
    if (page.width <= 0 || page.height <= 0 || page.grey.size() != pixels ||
        page.ink.size() != page.inkRowBytes * page.height ||
        page.inkRowBytes != static_cast<size_t>(page.width + 7) / 8 ||
        page.background.size() !=
            static_cast<size_t>(page.backgroundWidth) * page.backgroundHeight * 3) {
        abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::CorrectionInput input;
    if (!fuzz::readCorrectionInput(data, size, input)) {
        return 0;
    }
    folvane::correction::SheetSearch search = folvane::correction::findSheet(input.picture);
    folvane::correction::CorrectedPage page = folvane::correction::correctPage(input.picture);
    if (page.failure) {
        return 0;
    }
    checkPage(page);
    if (!search.failure != !page.failure) {
        abort();
    }
    // The same picture as an open book may be: one page or two, each sound.
    input.picture.splitSpreads = true;
    input.picture.rightToLeft = (size & 1) != 0;
    std::vector<folvane::correction::CorrectedPage> pages =
        folvane::correction::correctPages(input.picture);
    if (pages.empty() || pages.size() > 2) {
        abort();
    }
    for (const folvane::correction::CorrectedPage &each : pages) {
        if (!each.failure) {
            checkPage(each);
        }
    }
    return 0;
}
