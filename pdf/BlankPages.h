// Which pages of a run are left out as blank: the page loop's use of the blank-page rule.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pdf/PageGeneration.h"

namespace folvane {

namespace blank {
class PageJudges;
}

// The verdicts on a run's image pages, with skipBlank on: the caller's for a row it judged
// already (blankRows), else the rule's on the page as it would go in (corrected where the
// document is), judged once each, ahead of the page loop on every core. Without skipBlank
// nothing is judged and no page is left out.
class BlankPages {
public:
    struct Page {
        std::size_t row = 0;
        std::string path;
        int filePage = 1;
        bool readable = true; // false when its file's pages could not be counted: never judged
    };

    BlankPages(const GenerateOptions &options, const std::vector<Page> &pages);
    ~BlankPages(); // stops judging and waits for the pages being judged
    BlankPages(const BlankPages &) = delete;
    BlankPages &operator=(const BlankPages &) = delete;

    // True when page `index` of the list is to be left out, waiting for its verdict. A page the
    // rule cannot read is never left out.
    bool leaveOut(std::size_t index);

private:
    std::vector<std::optional<bool>> known_; // by page: the verdict, or none to ask the judges
    std::vector<std::size_t> judged_;        // by page: its place among the judges' pages
    std::unique_ptr<blank::PageJudges> judges_;
};

// The failure of a run that left out every one of its `pages` pages as blank.
GenerateError everyPageBlank(const std::string &savePath, std::size_t pages);

} // namespace folvane
