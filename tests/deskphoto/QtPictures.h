// Conversions between Qt images and the test pictures, for the drawing parts of the generator.
#pragma once

#include <QImage>

#include "tests/support/Picture.h"

namespace desk {

support::Picture fromQImage(const QImage &image); // any format, to RGB
QImage toQImage(const support::Picture &rgb);     // a deep copy, Format_RGB888

} // namespace desk
