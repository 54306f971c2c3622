#include "platform/GdiPainting.h"
#include "platform/QtConversions.h"

#include <QPainter>
#include <algorithm>

void FillSolidRect(QPainter &painter, const CRect &rect, COLORREF colour)
{
    if (!rect.IsRectEmpty())
        painter.fillRect(ToQRect(rect), ToQColor(colour));
}

void DrawLineTo(QPainter &painter, const QPen &pen, int x1, int y1, int x2, int y2)
{
    if (pen.style() == Qt::NoPen || (x1 == x2 && y1 == y2))
        return;
    // The covered pixels, end point excluded.
    const int xEnd = x2 > x1 ? x2 - 1 : (x2 < x1 ? x2 + 1 : x2);
    const int yEnd = y2 > y1 ? y2 - 1 : (y2 < y1 ? y2 + 1 : y2);
    if (pen.style() == Qt::SolidLine && pen.width() <= 1) {
        const QRect pixels(QPoint(std::min(x1, xEnd), std::min(y1, yEnd)),
                           QPoint(std::max(x1, xEnd), std::max(y1, yEnd)));
        painter.fillRect(pixels, pen.color());
        return;
    }
    painter.save();
    painter.setPen(pen);
    painter.drawLine(x1, y1, xEnd, yEnd);
    painter.restore();
}

void FrameRect(QPainter &painter, const CRect &rect, COLORREF colour)
{
    Draw3dRect(painter, rect, colour, colour);
}

void Draw3dRect(QPainter &painter, const CRect &rect, COLORREF topLeft, COLORREF bottomRight)
{
    if (rect.IsRectEmpty())
        return;
    const int w = rect.Width();
    const int h = rect.Height();
    FillSolidRect(painter, CRect(rect.left, rect.top, rect.right - 1, rect.top + 1), topLeft);
    FillSolidRect(painter, CRect(rect.left, rect.top, rect.left + 1, rect.bottom - 1), topLeft);
    if (w > 0 && h > 0) {
        FillSolidRect(painter, CRect(rect.right - 1, rect.top, rect.right, rect.bottom),
                      bottomRight);
        FillSolidRect(painter, CRect(rect.left, rect.bottom - 1, rect.right, rect.bottom),
                      bottomRight);
    }
}

void DrawFocusRect(QPainter &painter, const CRect &rect)
{
    if (rect.IsRectEmpty())
        return;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const QColor invert(Qt::white);
    // Every other pixel along the frame, starting at the top-left corner.
    auto dot = [&](int x, int y) {
        if (((x - rect.left) + (y - rect.top)) % 2 == 0)
            painter.fillRect(x, y, 1, 1, invert);
    };
    for (int x = rect.left; x < rect.right; ++x) {
        dot(x, rect.top);
        if (rect.bottom - 1 != rect.top)
            dot(x, rect.bottom - 1);
    }
    for (int y = rect.top + 1; y < rect.bottom - 1; ++y) {
        dot(rect.left, y);
        if (rect.right - 1 != rect.left)
            dot(rect.right - 1, y);
    }
    painter.restore();
}

void DrawTextLine(QPainter &painter, const CRect &rect, const QString &text, TextAlign align)
{
    if (rect.IsRectEmpty() || text.isEmpty())
        return;
    const QFontMetrics metrics = painter.fontMetrics();
    QString shown = text;
    int width = metrics.horizontalAdvance(text);
    if (width > rect.Width()) {
        shown = metrics.elidedText(text, Qt::ElideRight, rect.Width());
        width = metrics.horizontalAdvance(shown);
    }
    int x = rect.left;
    if (align == TextAlign::Right)
        x = rect.right - width;
    else if (align == TextAlign::Center)
        x = rect.left + (rect.Width() - width) / 2;
    const int baseline = rect.top + (rect.Height() - metrics.height()) / 2 + metrics.ascent();
    painter.drawText(x, baseline, shown);
}
