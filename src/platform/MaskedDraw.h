#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

// Draws the part of `bitmap` given by `imageCell` at `at` on `target`, letting
// the background show where the mask is white: the target is ANDed with the
// mask cell (keeping the background under white, clearing it under black), then
// ORed with the image cell (black in the image adds nothing). `target` must be
// RGB32 or premultiplied ARGB32; the cells must be the same size. A cell that
// is not wholly inside the bitmap draws nothing.
void DrawMasked(QImage &target, QPoint at, const QImage &bitmap, QRect imageCell, QRect maskCell);
