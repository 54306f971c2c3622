#include "gridctrl/CFlatHdrCtrl.h"

#include "platform/GdiPainting.h"
#include "platform/QtConversions.h"
#include "platform/ToolTips.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cstdlib>

namespace
{

constexpr int kDividerReach = 5; // pixels either side of a divider that grab it
constexpr int kMaxToolTipLength = 80;

} // namespace

CFlatHdrCtrl::CFlatHdrCtrl(QWidget *parent)
    : QWidget(parent), textColor_(GetSysColor(COLOR_BTNTEXT)), bkColor_(GetSysColor(COLOR_BTNFACE)),
      pressedTextColor_(GetSysColor(COLOR_CAPTIONTEXT)), pressedBkColor_(RGB(60, 60, 60))
{
    setMouseTracking(true); // hot tracking and the divider cursor
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize CFlatHdrCtrl::sizeHint() const
{
    return QSize(GetTotalWidth(), fontMetrics().height() + 4);
}

int CFlatHdrCtrl::InsertItem(int index, const QString &caption, int format, int width)
{
    index = std::clamp(index, 0, GetItemCount());
    items_.insert(items_.begin() + index, Item{caption, format, std::max(0, width), 0});
    update();
    return index;
}

bool CFlatHdrCtrl::DeleteItem(int index)
{
    if (index < 0 || index >= GetItemCount())
        return false;
    items_.erase(items_.begin() + index);
    hotItem_ = -1;
    trackItem_ = -1;
    update();
    return true;
}

QString CFlatHdrCtrl::GetItemText(int index) const
{
    return index >= 0 && index < GetItemCount() ? items_[index].caption : QString();
}

bool CFlatHdrCtrl::SetItemText(int index, const QString &caption)
{
    if (index < 0 || index >= GetItemCount())
        return false;
    if (items_[index].caption == caption)
        return true;
    items_[index].caption = caption;
    update();
    return true;
}

int CFlatHdrCtrl::GetItemFormat(int index) const
{
    return index >= 0 && index < GetItemCount() ? items_[index].format : LVCFMT_LEFT;
}

int CFlatHdrCtrl::GetItemWidth(int index) const
{
    return index >= 0 && index < GetItemCount() ? items_[index].width : 0;
}

bool CFlatHdrCtrl::SetItemWidth(int index, int width)
{
    if (index < 0 || index >= GetItemCount())
        return false;
    if (items_[index].width == std::max(0, width))
        return true;
    items_[index].width = std::max(0, width);
    update();
    return true;
}

bool CFlatHdrCtrl::IsItemPressed(int index) const
{
    return index >= 0 && index < GetItemCount() && items_[index].param != 0;
}

int CFlatHdrCtrl::GetItemLeft(int index) const
{
    int left = 0;
    for (int i = 0; i < index && i < GetItemCount(); ++i)
        left += items_[i].width;
    return left;
}

int CFlatHdrCtrl::GetTotalWidth() const
{
    return GetItemLeft(GetItemCount());
}

CRect CFlatHdrCtrl::GetItemRect(int index) const
{
    const int left = GetItemLeft(index) - offset_;
    return CRect(left, 0, left + GetItemWidth(index), height());
}

void CFlatHdrCtrl::SetOffset(int offset)
{
    if (offset != offset_) {
        offset_ = offset;
        update();
    }
}

int CFlatHdrCtrl::ItemAt(const QPoint &pos) const
{
    for (int i = 0; i < GetItemCount(); ++i) {
        if (GetItemRect(i).PtInRect(FromQPoint(pos)))
            return i;
    }
    return -1;
}

int CFlatHdrCtrl::DividerAt(const QPoint &pos) const
{
    if (pos.y() < 0 || pos.y() >= height())
        return -1;
    // The nearest divider within reach. Items dragged down to no width share
    // the divider of the item before them: right of it the last of them is
    // pulled open again, on it or left of it the visible item resizes.
    int found = -1;
    int nearest = kDividerReach + 1;
    for (int i = 0; i < GetItemCount(); ++i) {
        const int offset = pos.x() - GetItemRect(i).right;
        if (offset < -kDividerReach || offset >= kDividerReach)
            continue;
        const int distance = std::abs(offset);
        if (distance < nearest || (distance == nearest && offset > 0)) {
            found = i;
            nearest = distance;
        }
    }
    return found;
}

int CFlatHdrCtrl::TrackPosition() const
{
    if (trackItem_ < 0)
        return -1;
    return GetItemRect(trackItem_).left + trackWidth_;
}

CRect CFlatHdrCtrl::TextRect(int index) const
{
    CRect rect = GetItemRect(index);
    rect.DeflateRect(3, 1);
    return rect;
}

bool CFlatHdrCtrl::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int index = ItemAt(help->pos());
        const CRect text = index >= 0 ? TextRect(index) : CRect();
        const QString caption = GetItemText(index);
        if (index >= 0 && !caption.isEmpty() &&
            fontMetrics().horizontalAdvance(caption) > text.Width()) {
            ShowPlainToolTip(help->globalPos(), caption.left(kMaxToolTipLength), this,
                             ToQRect(GetItemRect(index)));
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

void CFlatHdrCtrl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(font());
    // The part right of the last item.
    const int end = GetTotalWidth() - offset_;
    const CRect rest(end, 0, width(), height());
    FillSolidRect(painter, rest, bkColor_);
    FillSolidRect(painter, CRect(rest.left, rest.bottom - 2, rest.right, rest.bottom - 1),
                  GetSysColor(COLOR_BTNSHADOW));
    FillSolidRect(painter, CRect(rest.left, rest.bottom - 1, rest.right, rest.bottom),
                  GetSysColor(COLOR_BTNHIGHLIGHT));
    for (int i = 0; i < GetItemCount(); ++i)
        DrawItem(painter, i);
    const int track = TrackPosition();
    if (track >= 0) {
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.fillRect(QRect(track, 0, 1, height()), Qt::white);
    }
}

void CFlatHdrCtrl::DrawItem(QPainter &painter, int index) const
{
    const CRect rect = GetItemRect(index);
    if (rect.IsRectEmpty() || rect.right <= 0 || rect.left >= width())
        return;
    const bool pressed = IsItemPressed(index);
    FillSolidRect(painter, rect, pressed ? pressedBkColor_ : bkColor_);
    painter.setPen(ToQColor(pressed ? pressedTextColor_ : textColor_));
    DrawTextLine(painter, TextRect(index), items_[index].caption,
                 TextAlignOf(items_[index].format));
}

void CFlatHdrCtrl::UpdateCursor(const QPoint &pos)
{
    if (trackItem_ >= 0 || DividerAt(pos) >= 0)
        setCursor(Qt::SplitHCursor);
    else
        unsetCursor();
}

void CFlatHdrCtrl::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    const int divider = DividerAt(pos);
    if (divider >= 0) {
        trackItem_ = divider;
        trackStartX_ = pos.x();
        trackWidth_ = GetItemWidth(divider);
        update();
        emit TrackMoved(TrackPosition());
        return;
    }
    const int index = ItemAt(pos);
    if (index >= 0) {
        items_[index].param = 1;
        update(ToQRect(GetItemRect(index)));
    }
}

void CFlatHdrCtrl::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (trackItem_ >= 0) {
        trackWidth_ = std::max(0, GetItemWidth(trackItem_) + pos.x() - trackStartX_);
        update();
        emit TrackMoved(TrackPosition());
        return;
    }
    hotItem_ = ItemAt(pos);
    UpdateCursor(pos);
}

void CFlatHdrCtrl::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (trackItem_ >= 0) {
        const int item = trackItem_;
        trackItem_ = -1;
        items_[item].width = trackWidth_;
        update();
        emit TrackMoved(-1);
        emit TrackEnded(item);
        UpdateCursor(event->position().toPoint());
        return;
    }
    // Unpress every item first: whoever hears of the click may change the columns.
    std::vector<int> clicked;
    for (int i = 0; i < GetItemCount(); ++i) {
        if (items_[i].param != 0) {
            items_[i].param = 0;
            clicked.push_back(i);
        }
    }
    update();
    for (int column : clicked)
        emit ColumnClicked(column);
}

void CFlatHdrCtrl::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // A second click on an item body presses nothing: a double click sorts once.
    const int divider = DividerAt(event->position().toPoint());
    if (divider >= 0)
        emit DividerDoubleClicked(divider);
}

void CFlatHdrCtrl::leaveEvent(QEvent *event)
{
    hotItem_ = -1;
    QWidget::leaveEvent(event);
}
