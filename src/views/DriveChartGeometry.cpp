#include "views/DriveChartGeometry.h"

#include "gamedata/CDriveChartData.h"

#include <algorithm>

namespace
{

// The row area leaves 20 pixels above the rows and 30 below them for the numbers.
constexpr int kRowAreaMargin = 50;
constexpr int kClipBottom = 29;

constexpr COLORREF kSelectedFill = RGB(0, 0, 128);
constexpr COLORREF kSelectedOutline = RGB(128, 128, 255);
constexpr COLORREF kHoverOutline = RGB(255, 255, 0);

} // namespace

DriveChartGeometry::DriveChartGeometry(const CDriveChartData &list, QSize client, int firstRow)
    : client_(client), itemCount_(list.count()), firstRow_(firstRow)
{
    entries_.reserve(list.items().size());
    for (const CChartItem &item : list.items())
        entries_.push_back({item.lowYard, item.highYard, item.lostGround != 0, item.reversed != 0});

    pixelsPerYard_ = std::max(client.width() / totalYards, 2);
    leftMargin_ = (client.width() - totalYards * pixelsPerYard_) / 2;
    rowArea_ = std::max(client.height() - kRowAreaMargin, 0);
    if (rowArea_ < rowPitch * itemCount_ - rowGap) {
        scrolling_ = true;
        visibleRows_ = (rowArea_ + rowGap) / rowPitch;
        firstRow_ = std::min(firstRow_, itemCount_ - visibleRows_);
    } else {
        scrolling_ = false;
        firstRow_ = 0;
        visibleRows_ = itemCount_;
    }
}

CRect DriveChartGeometry::FieldRect() const
{
    return CRect(leftMargin_, 0, leftMargin_ + totalYards * pixelsPerYard_, client_.height());
}

std::optional<CRect> DriveChartGeometry::RowClip() const
{
    if (!scrolling_)
        return std::nullopt;
    return CRect(0, topMargin, client_.width(), client_.height() - kClipBottom);
}

QPoint DriveChartGeometry::HomeNameAnchor() const
{
    // One third as the single-precision value, truncated as the classic code did.
    const float third = 0.33333334f;
    return QPoint(leftMargin_ +
                      static_cast<int>(2.0f * endZoneYards * third * float(pixelsPerYard_)),
                  client_.height() / 2);
}

QPoint DriveChartGeometry::VisitorNameAnchor() const
{
    const float third = 0.33333334f;
    return QPoint(leftMargin_ + static_cast<int>((4.0f * endZoneYards * third + fieldYards) *
                                                 float(pixelsPerYard_)),
                  client_.height() / 2);
}

bool DriveChartGeometry::IsOnScreen(int index) const
{
    const int row = index - firstRow_;
    return index >= 0 && index < itemCount_ && row >= 0 && row < visibleRows_;
}

CRect DriveChartGeometry::HitRect(int index) const
{
    if (!IsOnScreen(index))
        return CRect(-1, -1, -1, -1);
    const Entry &e = entries_[static_cast<size_t>(index)];
    const int top = topMargin + (index - firstRow_) * (rowGap + 6);
    return CRect(YardToX(e.lowYard), top, YardToX(e.highYard) + 1, top + rowHeight);
}

int DriveChartGeometry::HitTest(const QPoint &point) const
{
    const CPoint p{point.x(), point.y()};
    const int last = std::min(firstRow_ + visibleRows_, itemCount_) - 1;
    for (int k = last; k >= std::max(firstRow_, 0); --k) {
        if (HitRect(k).PtInRect(p))
            return k;
    }
    return -1;
}

bool DriveChartGeometry::IsBox(int index) const
{
    return index >= 0 && index < itemCount_ && entries_[static_cast<size_t>(index)].box;
}

std::optional<QPolygon> DriveChartGeometry::ArrowPoints(int index) const
{
    if (!IsOnScreen(index) || IsBox(index))
        return std::nullopt;
    const CRect r = HitRect(index);
    const int bottom = r.bottom - 1;
    const int middle = (r.top + bottom) / 2;
    if (!entries_[static_cast<size_t>(index)].reversed) {
        const int head = std::max(r.right - 6, r.left);
        return QPolygon({QPoint(r.left, r.top), QPoint(head, r.top), QPoint(r.right - 1, middle),
                         QPoint(head, bottom), QPoint(r.left, bottom)});
    }
    const int head = std::min(r.left + 5, r.right - 1);
    return QPolygon({QPoint(r.right - 1, r.top), QPoint(head, r.top), QPoint(r.left, middle),
                     QPoint(head, bottom), QPoint(r.right - 1, bottom)});
}

int DriveChartGeometry::ScrollTarget(DriveChartScroll code, int position) const
{
    int row = firstRow_;
    switch (code) {
    case DriveChartScroll::LineUp:
        row = firstRow_ - 1;
        break;
    case DriveChartScroll::LineDown:
        row = firstRow_ + 1;
        break;
    case DriveChartScroll::PageUp:
        row = firstRow_ - visibleRows_;
        break;
    case DriveChartScroll::PageDown:
        row = firstRow_ + visibleRows_;
        break;
    case DriveChartScroll::ThumbPosition:
    case DriveChartScroll::ThumbTrack:
        row = position;
        break;
    case DriveChartScroll::Top:
        row = 0;
        break;
    case DriveChartScroll::Bottom:
        row = itemCount_ - visibleRows_;
        break;
    case DriveChartScroll::EndScroll:
        break;
    }
    if (row < 0)
        row = 0;
    if (row > itemCount_ - visibleRows_)
        row = itemCount_ - visibleRows_;
    return row;
}

int DriveChartGeometry::RowToShow(int index) const
{
    if (index < 0 || index >= itemCount_)
        return firstRow_;
    int row = firstRow_;
    if (index < row)
        row = index;
    if (index >= row + visibleRows_)
        row = index - visibleRows_ + 1;
    return row;
}

DriveRowColors DriveChartRowColors(const CChartItem &item, int index, int selected, int hover)
{
    DriveRowColors colors{item.fillColor, item.outlineColor};
    if (index == selected)
        colors = {kSelectedFill, kSelectedOutline};
    if (index == hover)
        colors.outline = kHoverOutline;
    return colors;
}
