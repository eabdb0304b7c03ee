// What the corner editor is given for a row's photo: the photo decoded at the editor's size,
// the corners to start from (those placed by hand before, or the sheet the program finds), and
// the corrected page for any corners the user leaves.
#pragma once

#include <optional>

#include "app/CorrectionPixels.h"
#include "pdf/PageGeneration.h"
#include "platform/ui/CornerEditing.h"

// The longest side the editor shows the photo at.
inline constexpr uint32_t kCornerEditorSide = 1200;

// The request for pixels, in the window's language, its handles on `start` (full-size pixels:
// corners placed before, or the sheet already found) or else on the sheet found now; `pixels`
// must outlive it.
CornerEditRequest makeCornerRequest(const CorrectionPixels &pixels,
                                    const std::optional<folvane::SheetCorners> &start);

// Editor corners (in `pixels`) to the file's full-size pixels.
folvane::SheetCorners fullSizeCorners(const CornerQuad &quad, const CorrectionPixels &pixels);
