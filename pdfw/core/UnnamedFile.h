// Files with no name: what the engine writes for itself (compressed data of large pages, rows
// of a picture being put together, the document until it is complete) lives in files that the
// kernel removes with their last descriptor, so that nothing is left behind however the
// process ends, a SIGKILL included.
#pragma once

#include <string>

namespace folvane::pdfw {

// Whether the engine may ask for O_TMPFILE. The environment variable
// FOLVANE_PDFW_NAMED_TEMPORARY (any value but "" and "0") says no, so that tests can take the
// way of file systems that do not offer it.
bool unnamedFilesAllowed();

// A file with no name in `folder`, open for reading and writing: O_TMPFILE where the file
// system offers it, else a file created under a fresh name and unlinked at once. Returns the
// descriptor, or -1 with errno set.
int openUnnamedFile(const std::string &folder);

// The folder of a file path ("." for a bare name), with no trailing slash but for "/".
std::string folderOf(const std::string &path);

// The folder for the engine's own files when no document says where: TMPDIR, else /tmp.
std::string temporaryFolder();

} // namespace folvane::pdfw
