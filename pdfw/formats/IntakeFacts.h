// Inspection of one page of an image file for the window's pre-flight: what it is, its upright
// size, and how the engine would take it in, told by the format's own decision without
// writing anything.
#pragma once

#include <string>

#include "pdfw/pdfw.h"

namespace folvane::pdfw {

// Fills `facts` for page `page` of `path` going into a PDF of version 1.`pdfMinor`; never
// throws.
void inspectImage(const std::string &path, int page, int pdfMinor, pdfw_image_facts &facts);

} // namespace folvane::pdfw
