#pragma once

#include "platform/CRect.h"
#include "platform/Colors.h"

#include <QPoint>
#include <QPolygon>
#include <QSize>
#include <optional>
#include <vector>

struct CChartItem;
class CDriveChartData;

// Scroll-bar codes of the drive chart's vertical scroll.
enum class DriveChartScroll {
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    ThumbPosition,
    ThumbTrack,
    Top,
    Bottom,
    EndScroll
};

// The drive chart laid out for one list, one client size and one top row:
// the scale of the field, which rows fit, where each entry is drawn and
// where it can be pointed at. Rows are 7 pixels high and 9 apart from y 20;
// the field is always 100 yards with 10-yard end zones, the home end zone on
// the left.
class DriveChartGeometry
{
public:
    static constexpr int endZoneYards = 10;
    static constexpr int fieldYards = 100;
    static constexpr int totalYards = 120;
    static constexpr int topMargin = 20;
    static constexpr int rowGap = 3;
    static constexpr int rowHeight = 7;
    static constexpr int rowPitch = 9;
    // Ticks at the top and bottom edge, and where the yard numbers stand.
    static constexpr int tickLength = 10;

    // Nothing laid out: no entries, no client area.
    DriveChartGeometry() = default;
    // Lays `list` out in a client area of `client` with entry `firstRow` in
    // the top row (moved back when the rows would end above the bottom, and
    // 0 when every row fits).
    DriveChartGeometry(const CDriveChartData &list, QSize client, int firstRow);

    QSize client() const { return client_; }
    int pixelsPerYard() const { return pixelsPerYard_; }
    int leftMargin() const { return leftMargin_; }
    int rowArea() const { return rowArea_; }
    bool scrolling() const { return scrolling_; }
    int itemCount() const { return itemCount_; }
    int firstRow() const { return firstRow_; }
    int visibleRows() const { return visibleRows_; }

    // x of a position `yards` from the home goal line.
    int YardToX(int yards) const { return (yards + endZoneYards) * pixelsPerYard_ + leftMargin_; }
    // The field picture: from leftMargin over all 120 yards, the whole height.
    CRect FieldRect() const;
    // Where rows may be drawn while scrolling; none when every row fits.
    std::optional<CRect> RowClip() const;
    // Anchors (centre, baseline) of the home and visitor names, written
    // rotated in the end zones.
    QPoint HomeNameAnchor() const;
    QPoint VisitorNameAnchor() const;

    // Whether entry `index` is in one of the visible rows.
    bool IsOnScreen(int index) const;
    // Where entry `index` is drawn; all -1 when it is not on screen.
    CRect HitRect(int index) const;
    // The highest entry whose hit rectangle holds the point (left and top
    // edges included, right and bottom excluded), or -1.
    int HitTest(const QPoint &point) const;
    // Whether entry `index` is drawn as a box (it lost ground) rather than an arrow.
    bool IsBox(int index) const;
    // The five points of entry `index`'s arrow, its head 5 pixels long; none
    // when it is drawn as a box or not on screen.
    std::optional<QPolygon> ArrowPoints(int index) const;

    // The top row after the scroll `code` (with `position` for the thumb
    // codes), kept within 0 .. itemCount - visibleRows.
    int ScrollTarget(DriveChartScroll code, int position) const;
    // The top row that brings entry `index` among the visible rows with the
    // least movement; the current one for an index outside the list.
    int RowToShow(int index) const;

private:
    struct Entry {
        int lowYard = 0;
        int highYard = 0;
        bool box = false;
        bool reversed = false;
    };

    std::vector<Entry> entries_;
    QSize client_;
    int pixelsPerYard_ = 2;
    int leftMargin_ = 0;
    int rowArea_ = 0;
    bool scrolling_ = false;
    int itemCount_ = 0;
    int firstRow_ = 0;
    int visibleRows_ = 0;
};

// Fill and outline of one drawn entry.
struct DriveRowColors {
    COLORREF fill;
    COLORREF outline;

    bool operator==(const DriveRowColors &) const = default;
};

// The colours of entry `index`: its own, navy with a light-blue outline
// when selected, and a yellow outline (over either) when pointed at.
DriveRowColors DriveChartRowColors(const CChartItem &item, int index, int selected, int hover);
