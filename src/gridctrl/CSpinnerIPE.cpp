#include "gridctrl/CSpinnerIPE.h"

#include "gridctrl/CEditIPE.h"
#include "platform/GdiPainting.h"
#include "platform/QtConversions.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <algorithm>

CSpinnerIPE::CSpinnerIPE(QWidget *parent, CEditIPE *buddy, std::int32_t minimum,
                         std::int32_t maximum)
    : QWidget(parent), buddy_(buddy), minimum_(minimum), maximum_(maximum),
      position_(std::min(minimum, maximum))
{
    setFocusPolicy(Qt::NoFocus);
    // A click on the arrows must not pass the focus on to the grid below,
    // which would end the edit: the focus stays with the buddy.
    setFocusProxy(buddy);
}

std::int32_t CSpinnerIPE::Position() const
{
    std::int64_t value = position_;
    if (buddy_) {
        bool ok = false;
        const qlonglong parsed = buddy_->text().trimmed().toLongLong(&ok);
        if (ok)
            value = parsed;
    }
    const std::int64_t low = std::min(minimum_, maximum_);
    const std::int64_t high = std::max(minimum_, maximum_);
    return static_cast<std::int32_t>(std::clamp(value, low, high));
}

void CSpinnerIPE::Step(int steps)
{
    const std::int64_t direction = maximum_ >= minimum_ ? 1 : -1;
    const std::int64_t low = std::min(minimum_, maximum_);
    const std::int64_t high = std::max(minimum_, maximum_);
    const std::int64_t next = static_cast<std::int64_t>(Position()) + direction * steps;
    position_ = static_cast<std::int32_t>(std::clamp(next, low, high));
    if (buddy_)
        buddy_->setText(QString::number(position_));
}

void CSpinnerIPE::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    Step(event->position().y() < height() / 2 ? 1 : -1);
    if (buddy_)
        buddy_->setFocus(Qt::MouseFocusReason);
}

void CSpinnerIPE::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const CRect whole = FromQRect(rect());
    FillSolidRect(painter, whole, GetSysColor(COLOR_BTNFACE));
    const int middle = whole.top + whole.Height() / 2;
    CRect upper(whole.left, whole.top, whole.right, middle);
    CRect lower(whole.left, middle, whole.right, whole.bottom);

    // Arrows in the button-text colour.
    painter.setPen(Qt::NoPen);
    painter.setBrush(ToQColor(GetSysColor(COLOR_BTNTEXT)));
    const int cx = whole.left + whole.Width() / 2;
    const int up = upper.top + upper.Height() / 2 - 1;
    const int down = lower.top + lower.Height() / 2;
    painter.drawPolygon(
        QPolygon({QPoint(cx - 3, up + 2), QPoint(cx + 3, up + 2), QPoint(cx, up - 1)}));
    painter.drawPolygon(
        QPolygon({QPoint(cx - 3, down - 1), QPoint(cx + 3, down - 1), QPoint(cx, down + 2)}));

    FrameRect(painter, whole, GetSysColor(COLOR_BTNHIGHLIGHT));
    upper.DeflateRect(1, 1);
    FrameRect(painter, upper, GetSysColor(COLOR_BTNFACE));
    upper.DeflateRect(1, 1);
    FrameRect(painter, upper, GetSysColor(COLOR_BTNSHADOW));
    lower.DeflateRect(1, 1);
    FrameRect(painter, lower, GetSysColor(COLOR_BTNSHADOW));
}
