#include "platform/MaskedDraw.h"

#include <QPainter>

void DrawMasked(QImage &target, QPoint at, const QImage &bitmap, QRect imageCell, QRect maskCell)
{
    // A cell reaching outside the bitmap would pair image and mask pixels that
    // do not belong together: such a draw draws nothing.
    const QRect inside = bitmap.rect();
    if (!inside.contains(imageCell) || !inside.contains(maskCell))
        return;
    QPainter painter(&target);
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(at, bitmap, maskCell);
    painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    painter.drawImage(at, bitmap, imageCell);
}
