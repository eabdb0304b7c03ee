// The one way both front ends put values into their translated texts: a pattern whose %1, %2,
// ... stand for the values, so that a translation keeps its own word order.
#pragma once

#include <string>
#include <vector>

namespace folvane {

// pattern with %1 .. %9 replaced by the values in order. A % before anything else, or before a
// digit with no value given, stays as it is; the values themselves are not looked into.
std::string fill(const std::string &pattern, const std::vector<std::string> &values);

} // namespace folvane
