// Where the preview puts a picture inside its frame.
#pragma once

#include <cstdint>

#include "platform/ui/UiDefs.h"

// The largest rectangle of the picture's proportions inside client, centred across the
// spare room. The frame's and the picture's proportions are compared as quotients; each
// quotient is formed before it is multiplied, and every result truncates toward zero, so the
// rectangle matches the frame exactly when the proportions are equal. imageWidth and
// imageHeight must not be 0.
UiRect FitPreview(const UiRect &client, uint32_t imageWidth, uint32_t imageHeight);
