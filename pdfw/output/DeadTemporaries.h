// Temporary documents left by runs that were killed. Where a file system cannot make a file
// with no name, a document is written under a name that says whose it is,
// ".NAME.pdfw-PID-XXXXXX", and its writer holds a lock on it (flock) for as long as it lives;
// the next run writing into the same folder removes those whose writer is gone. A folder of
// temporary files named so and locked alike (the scanned pages of folvane-pdf --scan) goes the
// same way, with its files, and so does a spill file killed in the instant it had a name
// (pdfw/core/UnnamedFile.h).
#pragma once

#include <string>

#include "pdfw/core/TemporaryNames.h"

namespace folvane::pdfw {

// Removes the temporary documents in `folder` whose process no longer exists and whose lock
// nobody holds (a process of another PID namespace that shares the folder still holds its
// lock). Failures are ignored: what cannot be removed now is removed another time.
void removeDeadTemporaries(const std::string &folder);

} // namespace folvane::pdfw
