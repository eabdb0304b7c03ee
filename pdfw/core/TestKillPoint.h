// For tests of what a killed run leaves behind: when the environment variable
// FOLVANE_PDFW_KILL_AT names `point`, the process sends itself SIGKILL there, as the
// out-of-memory killer or a closed session would end it. FOLVANE_PDFW_STOP_AT stops the process
// there instead (SIGSTOP), so that a test can signal a run held mid-way.
#pragma once

namespace folvane::pdfw {

// Points: "image:N" (the Nth image of a document written, 1-based), "commit" (the document
// complete and flushed, not yet in place), "linked" (under its temporary name, not yet renamed
// over the target).
void testKillPoint(const char *point);
void testKillPoint(const char *point, long number);

} // namespace folvane::pdfw
