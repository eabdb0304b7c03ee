// folvane-pdf --batch MANIFEST [--shard K/N] [--force]: the manifest's documents (this shard's
// share of them) written one after the other, each with all the cores the page loop uses, one
// line a document on standard output:
//
//   STATUS<TAB>LINE<TAB>PAGES<TAB>SECONDS<TAB>OUTPUT
//
// STATUS is ok, failed or skipped (its output is newer than its inputs and the manifest, so an
// interrupted batch started again goes on where it stopped; --force writes it all the same).
// A failure is also told on standard error, and the batch goes on.
#pragma once

#include "cli/Arguments.h"

namespace folvane::cli {

// Runs the batch; returns 0 when every document was written or skipped, kExitFailure when one
// failed, kExitSomeLeftOut when none failed but --skip-unreadable left files out, kExitUsage
// (naming the line) for a manifest that cannot be run; before anything is written then.
int runBatch(const Arguments &arguments);

} // namespace folvane::cli
