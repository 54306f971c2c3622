#pragma once

#include "views/HeaderState.h"

#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <string>

class QPainter;

// Paints the header of the main window (everything of the header-painting algorithm) with
// `boldFont` for the legends: the live or final scoreboard at (128, 0) with the team names,
// scores, possession marker, clock, down, distance, ball-on line and quarter; the legend
// picture on pages 2, 4 and 8, the result-code key on page 32 and the team legend boxes on
// pages 16 and 64. The header stands on the button-face colour. Values the digit cells
// cannot hold are drawn as the nearest value they can.
void PaintHeader(QPainter &painter, const HeaderState &state, const QFont &boldFont);

// What of a header `width` pixels wide must be painted again to show `next`
// where `shown` is: nothing when they are the same, the scoreboard when only
// its values differ, else the whole header.
QRect HeaderChangedRect(const HeaderState &shown, const HeaderState &next, int width);

// The 125x21 image of a page button with its caption and icon bitmap; for a
// device `ratio` (2 or more) pixels to the layout pixel, with twice the pixels
// and the icon drawn at twice the size.
QPixmap MakeButtonImage(const QString &caption, int bitmapId, qreal ratio = 1);
