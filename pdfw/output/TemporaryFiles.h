// The temporary files of the documents being written in this process, kept where a signal
// handler can reach them: removeAll() does nothing but unlink, so a program may call it when
// it is interrupted and then end at once, leaving no hidden partial file behind.
#pragma once

#include <string>

namespace folvane::pdfw::temporary_files {

// Creates a file from the mkostemp template `path` (its name filled in on return) and
// remembers it before the file exists, so that a signal arriving the moment it appears finds
// it remembered. Returns the descriptor, or -1 with errno set; `slot` is as add() gives it.
int create(std::string &path, int flags, int &slot) noexcept;

// Remembers `path`; returns its slot, or -1 when every slot is taken or the path is longer
// than a path can be (such a file is still removed by its owner, only not by removeAll()).
int add(const char *path) noexcept;
// Forgets a slot returned by add(); -1 is ignored.
void forget(int slot) noexcept;
// Unlinks every remembered file. Async-signal-safe.
void removeAll() noexcept;

} // namespace folvane::pdfw::temporary_files
