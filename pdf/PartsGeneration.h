// The documents of a set written one after the other, each from its part of a run's pages.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "pdf/DocumentSet.h"
#include "pdf/PageGeneration.h"
#include "pdf/PageParts.h"

namespace folvane {

// Writes part i of `parts` into `set.draft(i)`, in order, each with the run's `options` for its
// pages (partRun over `inputs`) and `events`, whose PageStart and PageNote indexes count rows of
// the part; `onPart`, when given, is told each part's index before its pages. A GenerateError
// about the output names the document by its target, not by its draft; it and
// GenerateCancelled end the writing, the drafts left for the set to remove.
void generateParts(const DocumentSet &set, const std::vector<PagePart> &parts,
                   const std::vector<std::string> &inputs, const GenerateOptions &options,
                   const GenerateEvents &events,
                   const std::function<void(std::size_t part)> &onPart = {});

} // namespace folvane
