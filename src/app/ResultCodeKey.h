#pragma once

#include <QFont>
#include <QPoint>

class QPainter;

// The key to the result codes of the play-by-play's last column ("R first
// down by rush" ...), drawn as text in two columns inside a framed white box
// whose top-left corner is `topLeft`, in `font` (the dialog font), and kept
// inside the header: a box that would reach below `bottomLimit` moves up.
void PaintResultCodeKey(QPainter &painter, QPoint topLeft, int bottomLimit, const QFont &font);
