// What a phone's camera and a room do to a photo, on RGB pictures: light falling off towards
// the corners and from one side, a soft shadow, a lamp's colour cast, blur and sensor noise;
// and the rows as a file stores them for an EXIF orientation.
#pragma once

#include <QPolygonF>

#include "tests/deskphoto/DeskPhoto.h"

namespace desk {

void applyLight(support::Picture &photo, double falloff, Random &random);
// Darkens the polygon by `strength` (0..1) with an edge `softness` pixels wide.
void applyShadow(support::Picture &photo, const QPolygonF &shadow, double strength,
                 double softness);
void applyCast(support::Picture &photo, double strength);
void blur(support::Picture &photo, double sigma);
void addNoise(support::Picture &photo, double sigma, Random &random);

// The rows a file with this EXIF orientation stores, so that a viewer turning them by the
// orientation shows `upright`.
support::Picture storedFor(const support::Picture &upright, int orientation);

} // namespace desk
