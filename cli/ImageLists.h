// @LIST arguments: files that name the images, one path per line.
#pragma once

#include <string>
#include <vector>

namespace folvane_pdf {

// Replaces every input that starts with '@' by the paths its list file holds, in order ("@-"
// reads standard input). A line's end is "\n" or "\r\n"; empty lines are skipped; a name in a
// list is always an image, even when it starts with '@'. False with `error` set when a list
// cannot be read or holds a line too long to be a path.
bool ExpandLists(std::vector<std::string> &inputs, std::string &error);

} // namespace folvane_pdf
