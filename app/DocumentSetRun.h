// "在空白页处分成多个文件": the window's rows written as a set of documents, OUT-001.pdf,
// OUT-002.pdf, ... named from the output path, with the blank pages between them as separator
// sheets that go into none of them. The set is put in place whole or not at all.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "pdf/DocumentSet.h"
#include "pdf/PageGeneration.h"
#include "pdf/PageParts.h"

// The set could not be prepared or put in place: nothing new is left, files of the same names
// from before are as they were.
class DocumentSetFailure : public std::runtime_error {
public:
    explicit DocumentSetFailure(folvane::SetProblem why)
        : std::runtime_error("document set: " + why.path), problem(std::move(why)) {}
    folvane::SetProblem problem;
};

// How a run's pages fall into the documents of a set: the parts between blank pages (the
// pages of each), and how many blank pages separate them.
struct SetPlan {
    std::vector<folvane::PagePart> parts;
    int separators = 0;
};

// The plan for the pages of `paths` (the run's rows, with `options` by row as for generatePdf),
// split at blank pages by the blank-page rule (`options.blankRows` verdicts kept). Throws
// GenerateError (EveryPageBlank) when no page is left for a document.
SetPlan planSetAtBlankPages(const std::string &savePath, const std::vector<std::string> &paths,
                            const folvane::GenerateOptions &options);

// Prepares `set` for the plan's documents named from `savePath`, before anything is written.
// Throws DocumentSetFailure (a target that cannot be replaced, no hidden folder), or
// GenerateError (OutputIsInput) when a document would replace one of `paths`.
void prepareSet(folvane::DocumentSet &set, const std::string &savePath, const SetPlan &plan,
                const std::vector<std::string> &paths);

// Writes the plan's documents into the prepared `set` and puts them in place; their paths.
// `events` see the run as one: their indexes are rows of `paths`, whichever document a page
// goes into. `pagesOfEach` gets the pages written into each document (an open book's photo
// gives two). Throws GenerateError (an image or the output fails), GenerateCancelled or
// DocumentSetFailure; each leaves nothing new behind once `set` is gone.
std::vector<std::string> writeSet(folvane::DocumentSet &set, const SetPlan &plan,
                                  const std::vector<std::string> &paths,
                                  const folvane::GenerateOptions &options,
                                  const folvane::GenerateEvents &events,
                                  std::vector<int> &pagesOfEach);
