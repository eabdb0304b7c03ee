// The engine's problems (pdfw_problem, and the pre-flight's pdfw_image_facts) as the page
// loop's Problem.
#pragma once

#include "pdf/Problem.h"
#include "pdfw/pdfw.h"

namespace folvane {

Problem problemFromEngine(const pdfw_problem &problem);

// Why the inspected page cannot be used, about `path` and `page`.
Problem problemFromFacts(const pdfw_image_facts &facts, const std::string &path, int page);

} // namespace folvane
