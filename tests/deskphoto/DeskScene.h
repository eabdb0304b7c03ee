// The desks the pages are photographed on, drawn with Qt: the surface, and objects that lie
// under the sheet (other papers, a keyboard, a mug) or over it (a pen).
#pragma once

#include <QImage>
#include <QPolygonF>

#include "tests/deskphoto/DeskPhoto.h"

namespace desk {

// The desk's surface with what lies under the sheet. `sheet` is where the sheet will go
// (empty when there is none): other papers are placed to peek out from under it.
void drawDesk(QImage &photo, Desk desk, const QPolygonF &sheet, Random &random);

// What lies over the sheet: on the cluttered desk, a pen across one of its edges.
void drawOverSheet(QImage &photo, Desk desk, const QPolygonF &sheet, Random &random);

} // namespace desk
