// Where the preview puts things inside its frame: a picture fitted to the frame (the
// placeholder), and the page the PDF will get with the picture placed on it.
#pragma once

#include <cstdint>

#include "pdf/PageLayout.h"
#include "platform/ui/UiDefs.h"

// The largest rectangle of the picture's proportions inside client, centred across the
// spare room. The frame's and the picture's proportions are compared as quotients; each
// quotient is formed before it is multiplied, and every result truncates toward zero, so the
// rectangle matches the frame exactly when the proportions are equal. imageWidth and
// imageHeight must not be 0.
UiRect fitPreview(const UiRect &client, uint32_t imageWidth, uint32_t imageHeight);

// A page as the preview draws it, in frame pixels.
struct PreviewPage {
    UiRect sheet;   // the page, its proportions kept, centred in the frame inside a margin
    UiRect picture; // where the placed picture goes; it may reach past the sheet, which cuts it
};

// Space kept between the frame's edge and the sheet, for the sheet's outline.
inline constexpr int kPreviewSheetMargin = 3;

// Lays out the page that `placement` describes (sizes in points) for a picture of
// uprightWidth x uprightHeight pixels, scaled into client.
PreviewPage layOutPreviewPage(const UiRect &client, const folvane::PagePlacement &placement,
                              double uprightWidth, double uprightHeight);
