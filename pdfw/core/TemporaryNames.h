// The names of the files a run keeps under a name of its own while it works: they say whose they
// are, ".BASE.pdfw-PID-XXXXXX", so that the next run into the folder can tell the leftovers of a
// run that was killed from the files of one still working (pdfw/output/DeadTemporaries.h).
#pragma once

#include <string>
#include <sys/types.h>

namespace folvane::pdfw {

// ".BASE.pdfw-PID-" for the file name `base`: the start of this process's temporary names for
// it, to which mkstemp's six random characters are added.
std::string temporaryPrefix(const std::string &base);

// The PID a temporary name carries, or 0 when the name is not one.
pid_t temporaryOwner(const std::string &name);

} // namespace folvane::pdfw
