// Drawing of the grid: rows, cells, grid lines, row header, focus arrow,
// check boxes and the focus frame. Paint code only reads what the cells hold.
#include "gridctrl/CZrGridListCtrl.h"

#include "platform/GdiPainting.h"
#include "platform/QtConversions.h"
#include "platform/SystemMetrics.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace
{

bool IsCheckText(const QString &text, bool *ticked)
{
    if (text.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0) {
        *ticked = true;
        return true;
    }
    if (text.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0) {
        *ticked = false;
        return true;
    }
    return false;
}

} // namespace

void CZrGridListCtrl::paintEvent(QPaintEvent *event)
{
    QPainter dc(viewport());
    dc.setFont(font());
    const QRect area = event->rect();
    dc.fillRect(area, ToQColor(bkColor_));

    const int top = GetTopIndex();
    const int first = top + std::max(0, area.top() / rowHeight_);
    const int last = std::min(GetItemCount() - 1, top + area.bottom() / rowHeight_);
    const int columns = GetColumnCount();
    const int edge = GetSystemMetrics(SM_CXEDGE);
    for (int row = first; row <= last; ++row) {
        FillSolidRect(dc, GetRowRect(row), bkColor_);
        for (int column = 0; column < columns; ++column) {
            const int left = ColumnLeft(column);
            const int right = left + GetColumnWidth(column);
            // A cell also draws one pixel left of itself (its bottom grid line).
            if (right <= area.left() || left - edge - 1 > area.right())
                continue;
            DrawCell(row, column, dc);
        }
        DrawFocus(row, dc);
    }

    // The divider being dragged in the header, across the rows.
    const int track = header_->TrackPosition();
    if (track >= 0) {
        dc.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        dc.fillRect(QRect(track, 0, 1, viewport()->height()), Qt::white);
    }
}

bool CZrGridListCtrl::IsCellSelected(int row, int column) const
{
    if (!(GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED))
        return false;
    return (flags_ & GLF_FULLROWSELECT) || ((flags_ & GLF_FIRSTCOLROW) && selectedColumn_ == 0) ||
           column == selectedColumn_;
}

void CZrGridListCtrl::DrawCell(int row, int column, QPainter &dc)
{
    const CRect rect = GetCellRect(row, column);
    bool selected = IsCellSelected(row, column);
    if (!showSelectionAlways_ && !hasFocus())
        selected = false;
    DrawCellBackground(row, column, rect, selected, dc);
    DrawCellText(row, column, rect, selected, dc);
}

void CZrGridListCtrl::DrawCellBackground(int row, int column, CRect rect, bool selected,
                                         QPainter &dc)
{
    if (column == 0)
        rect.left -= GetSystemMetrics(SM_CXEDGE);
    FillSolidRect(dc, rect,
                  selected ? GetCellSelBkColor(row, column) : GetCellBkColor(row, column));

    const bool horizontal = !(flags_ & GLF_NOHORZLINES);
    const bool vertical = !(flags_ & GLF_NOVERTLINES);
    const bool lastRow = row == GetItemCount() - 1;
    const bool lastColumn = column == GetColumnCount() - 1;
    if (horizontal || (lastRow && vertical))
        DrawLineTo(dc, gridPen_, rect.left - 1, rect.bottom - 1, rect.right - 1, rect.bottom - 1);
    if (vertical || (lastColumn && horizontal))
        DrawLineTo(dc, gridPen_, rect.right - 1, rect.bottom - 1, rect.right - 1, rect.top - 1);

    if (column == 0 && (flags_ & GLF_ROWHEADER)) {
        FillSolidRect(dc, rect, GetSysColor(COLOR_BTNHIGHLIGHT));
        rect.right -= 1;
        rect.bottom -= 1;
        FillSolidRect(dc, rect, GetSysColor(COLOR_BTNFACE));
        Draw3dRect(dc, rect, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNSHADOW));
    }
    if (column == 0 && (flags_ & GLF_FOCUSARROW) && row == focusedRow_) {
        COLORREF colour = GetSysColor(COLOR_BTNTEXT);
        if (!(flags_ & GLF_ROWHEADER))
            colour = selected ? GetCellSelTextColor(row, column) : GetCellTextColor(row, column);
        DrawFocusArrow(dc, rect, colour);
    }
}

void CZrGridListCtrl::DrawFocusArrow(QPainter &dc, CRect rect, COLORREF colour) const
{
    rect.DeflateRect(1, 1);
    const int h = rect.Height();
    const int g = h / 4;
    int x = rect.right - g - 5;
    int y0 = rect.top + g;
    int y1 = rect.top + h / 2 + g; // end excluded
    const QColor qcolour = ToQColor(colour);
    for (; y0 < y1; ++x, ++y0, --y1)
        dc.fillRect(QRect(x, y0, 1, y1 - y0), qcolour);
}

CRect CZrGridListCtrl::TextRect(int row, int column) const
{
    CRect rect = GetCellRect(row, column);
    if (!images_.empty() && GetCellImage(row, column) >= 0)
        rect.left += images_.front().width();
    return rect;
}

void CZrGridListCtrl::DrawCellText(int row, int column, CRect rect, bool selected, QPainter &dc)
{
    COLORREF colour;
    if (column == 0 && (flags_ & GLF_ROWHEADER))
        colour = GetSysColor(COLOR_BTNTEXT);
    else
        colour = selected ? GetCellSelTextColor(row, column) : GetCellTextColor(row, column);

    const int image = GetCellImage(row, column);
    if (!images_.empty() && image >= 0) {
        const QPixmap &first = images_.front();
        if (image < static_cast<int>(images_.size()))
            dc.drawPixmap(rect.left, rect.top + (rect.Height() - first.height()) / 2,
                          images_[image]);
        rect.left += first.width();
    }

    const QString text = GetItemText(row, column);
    bool ticked = false;
    if ((flags_ & GLF_CHECKBOXES) && IsCheckText(text, &ticked)) {
        const COLORREF background =
            selected ? GetCellSelBkColor(row, column) : GetCellBkColor(row, column);
        DrawCheckBox(dc, rect, ticked, background, colour);
        return;
    }
    dc.setPen(ToQColor(colour));
    DrawTextInCell(dc, rect, text, column);
}

void CZrGridListCtrl::DrawCheckBox(QPainter &dc, const CRect &rect, bool ticked,
                                   COLORREF background, COLORREF tick) const
{
    const QPoint centre = ToQPoint(rect.CenterPoint());
    const int cx = centre.x();
    const int cy = centre.y();
    CRect box(cx - 6, cy - 6, cx + 5, cy + 5);
    FillSolidRect(dc, box, RGB(0, 0, 0));
    box.DeflateRect(1, 1);
    FillSolidRect(dc, box, background);
    if (!ticked)
        return;
    // Three strokes going down to the right, then four going up.
    const QColor colour = ToQColor(tick);
    int x = cx - 5;
    int y = cy - 3;
    for (int i = 0; i < 3; ++i, ++x, ++y)
        dc.fillRect(QRect(x, y, 1, 3), colour);
    y -= 2;
    for (int i = 0; i < 4; ++i, ++x, --y)
        dc.fillRect(QRect(x, y, 1, 3), colour);
}

void CZrGridListCtrl::DrawTextInCell(QPainter &dc, const CRect &rect, const QString &text,
                                     int column) const
{
    CRect area = rect;
    area.left += TextMargin();
    area.right -= TextMargin();
    DrawTextLine(dc, area, text, TextAlignOf(GetColumnFormat(column)));
}

bool CZrGridListCtrl::IsCellTextCut(int row, int column) const
{
    const QString text = GetItemText(row, column);
    bool ticked = false;
    if (text.isEmpty() || ((flags_ & GLF_CHECKBOXES) && IsCheckText(text, &ticked)))
        return false;
    const CRect rect = TextRect(row, column);
    const int available = rect.Width() - 2 * TextMargin();
    return available <= 0 || fontMetrics().horizontalAdvance(text) > available;
}

void CZrGridListCtrl::DrawFocus(int row, QPainter &dc)
{
    if (!hasFocus() || row != focusedRow_)
        return;
    CRect rect;
    if ((flags_ & GLF_FULLROWSELECT) || ((flags_ & GLF_FIRSTCOLROW) && focusColumn_ == 0)) {
        rect = GetRowRect(row);
        if (flags_ & GLF_ROWHEADER)
            rect.left = ColumnLeft(0) + GetColumnWidth(0);
    } else {
        if (!ValidColumn(focusColumn_))
            return;
        rect = GetCellRect(row, focusColumn_);
    }
    rect.DeflateRect(2, 2);
    DrawFocusRect(dc, rect);
}
