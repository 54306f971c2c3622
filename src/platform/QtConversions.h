#pragma once

#include "platform/CRect.h"
#include "platform/Colors.h"

#include <QColor>
#include <QPoint>
#include <QRect>

// Conversions between the program's own geometry and colours, which the data
// layer uses, and Qt's, which drawing uses.

// The same rectangle as a QRect (whose right() and bottom() are inclusive).
constexpr QRect ToQRect(const CRect &r)
{
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// The rectangle a QRect covers, right and bottom edges exclusive.
constexpr CRect FromQRect(const QRect &r)
{
    return CRect(r.x(), r.y(), r.x() + r.width(), r.y() + r.height());
}

constexpr QPoint ToQPoint(const CPoint &p)
{
    return QPoint(p.x, p.y);
}

constexpr CPoint FromQPoint(const QPoint &p)
{
    return CPoint{p.x(), p.y()};
}

// The same colour as Qt wants it, fully opaque.
inline QColor ToQColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// The opaque pixel value QImage::pixel() gives for the colour; handy in pixel checks.
constexpr QRgb ToQRgb(COLORREF c)
{
    return 0xff000000u | (static_cast<QRgb>(GetRValue(c)) << 16) |
           (static_cast<QRgb>(GetGValue(c)) << 8) | static_cast<QRgb>(GetBValue(c));
}
