#pragma once

// A point in window coordinates.
struct CPoint {
    int x = 0;
    int y = 0;

    constexpr bool operator==(const CPoint &) const = default;
};

// A rectangle with exclusive right and bottom edges, as window geometry is
// given: (0, 0, 10, 5) covers pixels x 0..9 and y 0..4. QRect's right() and
// bottom() are inclusive; convert with ToQRect / FromQRect (QtConversions.h)
// only.
struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
    constexpr CPoint CenterPoint() const { return CPoint{(left + right) / 2, (top + bottom) / 2}; }
    constexpr bool PtInRect(const CPoint &p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
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
