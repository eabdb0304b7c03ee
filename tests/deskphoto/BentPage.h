// Photos of pages that are not flat: a page of English text bent as a bound book's page bends
// into its gutter, or as a loose sheet curls at one edge, photographed from straight above on a
// dark desk by a pinhole camera, so that the bent part both sags and is foreshortened, the
// gutter's part shaded. For the curved-page tests and benchmark; seeded like the desk photos.
#pragma once

#include <string>
#include <vector>

#include <QImage>

#include "tests/deskphoto/DeskPhoto.h"
#include "tests/support/Picture.h"

namespace desk {

// How the page lies: flat, as the default says, or bent at one edge.
struct BentShape {
    bool curl = false;       // a sheet curling up at one edge; else a book's page bending down
    bool towardsLeft = true; // the bent part is at the left edge
    double share = 0.4;      // how much of the width bends
    double angle = 0;        // the surface's slope at the very edge, radians
};

// `count` lines of about 76 characters of common English words.
std::vector<std::string> textLines(Random &random, int count);

// The flat page: A4 at 200 dpi, off-white, `lines` in 32-pixel serif type.
QImage drawnTextPage(const std::vector<std::string> &lines);

// `page` lying as `shape` says, photographed from above with a margin of desk around it, RGB;
// `seed` draws the sensor's noise.
support::Picture photographBent(const QImage &page, const BentShape &shape, unsigned seed);

// An open book: `left` and `right` (pages as drawnTextPage draws them) either side of the fold,
// each bending down into the gutter over `share` of its width to a slope of `angle` radians
// there, photographed from above as photographBent does.
support::Picture photographSpread(const QImage &left, const QImage &right, double share,
                                  double angle, unsigned seed);

} // namespace desk
