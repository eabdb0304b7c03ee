// Desk photos and scans handed to the correction library as the PDF engine will hand them:
// the JPEG decoded by libjpeg, with the EXIF orientation beside the stored rows.
#pragma once

#include "correction/Correction.h"
#include "tests/deskphoto/DeskPhoto.h"
#include "tests/support/Picture.h"

namespace correction_test {

// A picture viewing `rgb`'s samples (which must outlive it).
folvane::correction::Picture
pictureOf(const support::Picture &rgb, int orientation = 1,
          folvane::correction::SourceKind kind = folvane::correction::SourceKind::Unknown);

// The photo's JPEG decoded, stored rows as the file has them.
support::Picture decoded(const desk::DeskPhoto &photo);

// The largest distance between found and true corners, as a share of the picture's diagonal.
double cornerError(const folvane::correction::Corners &found, const desk::Corners &truth, int width,
                   int height);

// The upright size of a photo.
int uprightWidth(const desk::DeskPhoto &photo);
int uprightHeight(const desk::DeskPhoto &photo);

} // namespace correction_test
