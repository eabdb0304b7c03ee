// The folder of scanned pages, as far as an interruption is concerned: a temporary folder is
// removed with everything in it, a folder whose pages the user keeps loses only the partial
// page being written. What the signal handler does here is async-signal-safe.
#pragma once

#include <string>

namespace folvane::cli {

// Creates a temporary folder from the mkdtemp template `path` (its name filled in on return)
// that an interruption removes whole, until ForgetOwnFolder(). The folder is locked (flock) for
// as long as the process lives, so that a sweep of dead runs' folders leaves it. False with
// errno set.
bool createOwnFolder(std::string &path);
// A folder the user keeps: an interruption removes only its partial page files.
void rememberKeptFolder(const std::string &path);
void forgetOwnFolder();

// For the signal handler: removes what the remembered folder says.
void removeOwnFolderNow();

} // namespace folvane::cli
