#pragma once

#include <QRect>
#include <QSize>

class QFont;

// The dialog base units of a font: the average width of its letters and its
// character height, in pixels, as dialog templates measure them.
QSize DialogBaseUnits(const QFont &font);

// A rectangle given in dialog units converted to pixels for `font`: x and
// width are quarters of the average letter width, y and height eighths of the
// character height, each edge rounded to the nearest pixel.
QRect MapDialogRect(const QRect &units, const QFont &font);
