#pragma once

#include "platform/CRect.h"
#include "platform/Colors.h"

#include <QPen>

class QPainter;

// Drawing with the rules of the classic window system on a QPainter: every
// rectangle excludes its right and bottom edge, every line its end point.

// Fills the rectangle with one colour.
void FillSolidRect(QPainter &painter, const CRect &rect, COLORREF colour);

// A line from (x1, y1) towards (x2, y2), the end point not drawn. Only
// horizontal and vertical lines are needed; a 1-pixel solid pen is drawn
// exactly, other pens are approximated.
void DrawLineTo(QPainter &painter, const QPen &pen, int x1, int y1, int x2, int y2);

// A 1-pixel frame just inside the rectangle.
void FrameRect(QPainter &painter, const CRect &rect, COLORREF colour);

// A 1-pixel frame, top and left in one colour, bottom and right in the other.
void Draw3dRect(QPainter &painter, const CRect &rect, COLORREF topLeft, COLORREF bottomRight);

// The dotted 1-pixel focus frame just inside the rectangle (every other pixel,
// inverting what is below).
void DrawFocusRect(QPainter &painter, const CRect &rect);

// Where a line of text sits across its rectangle.
enum class TextAlign { Left, Center, Right };

// One line of text in the rectangle, centred vertically and cut with an
// ellipsis when it does not fit (a single-line, end-ellipsis DrawText without
// prefix processing), in the painter's font and pen.
void DrawTextLine(QPainter &painter, const CRect &rect, const QString &text, TextAlign align);
