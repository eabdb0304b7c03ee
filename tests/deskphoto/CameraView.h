// Where a sheet lands in a photo: the page placed in front of a pinhole camera (a phone's
// field of view), turned on the desk, tilted away at the top for the keystone, and moved
// until it covers the asked share of the photo.
#pragma once

#include <QPolygonF>
#include <QSize>
#include <QSizeF>

#include "tests/deskphoto/DeskPhoto.h"

namespace desk {

struct SheetView {
    QPolygonF quad; // top-left, top-right, bottom-right, bottom-left, Qt's pixel coordinates
    double keystone = 0;
    double fill = 0;
};

SheetView placeSheet(QSizeF paperMm, QSize photo, double rotationDegrees, double keystone,
                     double fill, Random &random);

QSizeF paperSize(Paper paper); // millimetres

} // namespace desk
