// A run's pages cut into documents: every N pages, or at separator sheets, which are dropped.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "pdf/PageGeneration.h"

namespace folvane {

// A page of the run: its row (input file), its page in that file (1-based) and its place in
// the whole run (0-based), by which GenerateOptions::pageTurns and pageCrops name it.
struct RunPage {
    std::size_t row = 0;
    int filePage = 1;
    std::size_t index = 0;
};

using PagePart = std::vector<RunPage>;

// Every page of `inputs`, with `pagesPerInput` pages each (as countImagePages gives them), only
// the one page of a row that `rowPages` names.
std::vector<RunPage> runPages(const std::vector<int> &pagesPerInput,
                              const std::map<std::size_t, int> &rowPages = {});

// The pages in parts of `every` pages (> 0), the last one shorter when they do not divide.
std::vector<PagePart> partsOfEvery(const std::vector<RunPage> &pages, std::size_t every);

// The pages between separators (`separator[i]` for pages[i]), the separators left out; no part
// is empty, so separators in a row or at either end make no empty document.
std::vector<PagePart> partsBetween(const std::vector<RunPage> &pages,
                                   const std::vector<bool> &separator);

// A part as the page loop takes it: one row per page, naming its file and page, with the
// run's turns, crops, corners and blank verdicts of those pages carried over.
struct PartRun {
    std::vector<std::string> rows;
    GenerateOptions options;
};
PartRun partRun(const PagePart &part, const std::vector<std::string> &inputs,
                const GenerateOptions &run);

} // namespace folvane
