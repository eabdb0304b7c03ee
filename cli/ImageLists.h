// @LIST arguments: files that name the images, one path per line.
#pragma once

#include <string>
#include <vector>

namespace folvane::cli {

// Replaces every input that starts with '@' by the paths its list file holds, in order ("@-"
// reads standard input), and adds the list files' paths to `lists`. A line's end is "\n" or
// "\r\n"; empty lines are skipped; a name in a list is always an image, even when it starts
// with '@'. A list file is a regular file or a pipe, opened without waiting on it. False with
// `error` set when a list cannot be read or holds a line too long to be a path.
bool expandLists(std::vector<std::string> &inputs, std::vector<std::string> &lists,
                 std::string &error);

// False with `error` set when `output` is one of the list files (the same file, by device and
// inode, so that links count): writing it would destroy the list.
bool outputIsNoList(const std::string &output, const std::vector<std::string> &lists,
                    std::string &error);

} // namespace folvane::cli
