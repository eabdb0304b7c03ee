// "在空白页处分成多个文件": the window's rows written as a set of documents, OUT-001.pdf,
// OUT-002.pdf, ... named from the output path, with the blank pages between them as separator
// sheets that go into none of them. The set is put in place whole or not at all.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "pdf/DocumentSet.h"
#include "pdf/PageGeneration.h"

// The set could not be prepared or put in place: nothing new is left, files of the same names
// from before are as they were.
class DocumentSetFailure : public std::runtime_error {
public:
    explicit DocumentSetFailure(folvane::SetProblem why)
        : std::runtime_error("document set: " + why.path), problem(std::move(why)) {}
    folvane::SetProblem problem;
};

// What a set run wrote: each document's path and its pages, and the separator sheets left out.
struct WrittenSet {
    std::vector<std::string> files;
    std::vector<int> pages;
    int separators = 0;
};

// Writes the pages of `paths` (the run's rows, with `options` by row as for GeneratePdf) as the
// set named from `savePath`, split at blank pages by the blank-page rule (`options.blankRows`
// verdicts kept). `events` see the run as one: their indexes are rows of `paths`, whichever
// document a page goes into; `onSeparators` is told how many pages are separators once that is
// known, before the first page. Throws GenerateError (an image that fails, the output, a set
// member that would replace one of the images, no page left), GenerateCancelled, or
// DocumentSetFailure; each leaves nothing new behind.
WrittenSet WriteSetAtBlankPages(const std::string &savePath, const std::vector<std::string> &paths,
                                const folvane::GenerateOptions &options,
                                const folvane::GenerateEvents &events,
                                const std::function<void(int separators)> &onSeparators = {});
