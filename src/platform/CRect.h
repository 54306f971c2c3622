#pragma once

#include <QPoint>
#include <QRect>

// A rectangle with exclusive right and bottom edges, as window geometry is
// given: (0, 0, 10, 5) covers pixels x 0..9 and y 0..4. QRect's right() and
// bottom() are inclusive; convert with ToQRect / FromQRect only.
struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}

    static constexpr CRect FromQRect(const QRect &r)
    {
        return CRect(r.x(), r.y(), r.x() + r.width(), r.y() + r.height());
    }
    constexpr QRect ToQRect() const { return QRect(left, top, right - left, bottom - top); }

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
    constexpr QPoint CenterPoint() const { return QPoint((left + right) / 2, (top + bottom) / 2); }
    constexpr bool PtInRect(const QPoint &p) const
    {
        return p.x() >= left && p.x() < right && p.y() >= top && p.y() < bottom;
    }

    constexpr void OffsetRect(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    constexpr void InflateRect(int dx, int dy)
    {
        left -= dx;
        right += dx;
        top -= dy;
        bottom += dy;
    }
    constexpr void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }

    constexpr bool operator==(const CRect &) const = default;
};
