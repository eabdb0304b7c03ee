// The password of --password-file, given to every PDF input.
#pragma once

#include <string>
#include <vector>

#include "pdf/PageGeneration.h"

namespace folvane::cli {

// The first line of `path` (without its line end) as the password of every input that is a
// PDF; false with `error` set when the file cannot be read or is too long to be one.
bool setPdfPasswords(const std::string &path, const std::vector<std::string> &inputs,
                     folvane::GenerateOptions &options, std::string &error);

} // namespace folvane::cli
