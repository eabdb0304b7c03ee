// A file name as both front ends show it in their messages: as it is when it holds only
// printable text (Chinese included), else quoted the way a shell reads it back, with control
// characters and bytes that are not UTF-8 written as $'\n', $'\033' and the like, so that a
// name can neither break a message's line nor hide part of itself.
#pragma once

#include <string>

#include "pdf/Problem.h"

namespace folvane {

std::string quotedName(const std::string &name);

// The problem with the names it holds quoted as above: its file, and the input an output
// would overwrite.
Problem withQuotedNames(const Problem &problem);

} // namespace folvane
