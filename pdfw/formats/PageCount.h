// How many pages an image file has, for pdfw_count_pages and the queue of a whole file.
#pragma once

#include <string>

namespace folvane::pdfw {

// The pages of the file at `path` (>= 1; 1 for a file of no known format). Raises what opening
// and reading it raises.
int countPages(const std::string &path);

} // namespace folvane::pdfw
