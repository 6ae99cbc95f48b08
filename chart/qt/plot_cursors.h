// The chart's mouse cursors: the cross of maNone and four drawn cursors
// (hand, zoom window, zoom drag, zoom box), numbered 1 ... 4 like their
// resources "CURHAND", "CURZOOMW", "CURZOOMD" and "CURZOOMP".
#pragma once

#include <QCursor>

enum class CursorGrafica { Cruz = 0, Mano = 1, ZoomVentana = 2, ZoomArrastre = 3, ZoomCaja = 4 };

// The cursor of that number; the drawn ones are built once and shared.
const QCursor& CursorDeGrafica(CursorGrafica c);

// The 32 x 32 picture of a drawn cursor (white outline, black strokes,
// transparent elsewhere). For the cross it returns a null pixmap.
QPixmap DibujoCursor(CursorGrafica c);
