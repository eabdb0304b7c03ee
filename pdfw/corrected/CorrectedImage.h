// A corrected page (folvane::correction::CorrectedPage) as the objects of one image the document
// places like any other: a Group 4 image for black ink on paper, or, for a page with colour, a Form
// XObject over the unit square that draws the colour (a JPEG at low resolution) and over it the
// ink (a Group 4 image mask at full resolution) in black. A page whose text is too soft for
// the ink is one JPEG of the whole page at full resolution, grey or colour.
#pragma once

#include <string>

#include "correction/Correction.h"
#include "pdfw/core/Memory.h"
#include "pdfw/core/PreparedImage.h"

namespace folvane::pdfw {

// The page's objects, its size in pixels and orientation 1 (it is upright). `path` names the
// file in messages.
PreparedImage correctedImage(const folvane::correction::CorrectedPage &page,
                             const std::string &path, const MemoryProcs &memory);

} // namespace folvane::pdfw
