// Temporary documents left by runs that were killed. Where a file system cannot make a file
// with no name, a document is written under a name that says whose it is,
// ".NAME.pdfw-PID-XXXXXX", and its writer holds a lock on it (flock) for as long as it lives;
// the next run writing into the same folder removes those whose writer is gone. A folder of
// temporary files named so and locked alike (the scanned pages of folvane-pdf --scan) goes the
// same way, with its files.
#pragma once

#include <string>
#include <sys/types.h>

namespace folvane::pdfw {

// ".BASE.pdfw-PID-" for the target file name `base`: the start of this process's temporary
// names for it.
std::string temporaryPrefix(const std::string &base);

// Removes the temporary documents in `folder` whose process no longer exists and whose lock
// nobody holds (a process of another PID namespace that shares the folder still holds its
// lock). Failures are ignored: what cannot be removed now is removed another time.
void removeDeadTemporaries(const std::string &folder);

// The PID a temporary document's name carries, or 0 when the name is not one.
pid_t temporaryOwner(const std::string &name);

} // namespace folvane::pdfw
