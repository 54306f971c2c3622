#pragma once

#include <QRect>
#include <QSize>

class QFont;

// The dialog base units of the classic "MS Sans Serif" 8 on a 96-dpi screen:
// every dialog template was laid out for these, whatever face stands in.
constexpr QSize kClassicDialogBaseUnits(6, 13);

// The dialog base units of a font: the average width of its letters and its
// character height, in pixels, as dialog templates measure them.
QSize DialogBaseUnits(const QFont &font);

// A rectangle given in dialog units converted to pixels with the classic
// base units: x and width are quarters of 6 pixels, y and height eighths of
// 13, each edge rounded to the nearest pixel. Controls keep the positions
// they were laid out at, whichever stand-in face draws their text.
QRect MapDialogRect(const QRect &units);
