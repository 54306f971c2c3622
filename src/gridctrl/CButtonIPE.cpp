#include "gridctrl/CButtonIPE.h"

#include "gridctrl/CZrGridListCtrl.h"
#include "gridctrl/InPlaceEditing.h"
#include "platform/GdiPainting.h"
#include "platform/QtConversions.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>

CButtonIPE::CButtonIPE(CZrGridListCtrl *grid, int row, int column, const QString &caption)
    : QPushButton(caption, grid->viewport()), grid_(grid), row_(row), column_(column)
{
    setFont(grid->font());
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { ReturnFocusToGrid(grid_); });
}

bool CButtonIPE::event(QEvent *event)
{
    // Enter and Escape are taken before any other handling; both end the edit.
    if (IsEndingKey(event)) {
        if (event->type() == QEvent::KeyPress)
            ReturnFocusToGrid(grid_);
        event->accept();
        return true;
    }
    return QPushButton::event(event);
}

void CButtonIPE::focusOutEvent(QFocusEvent *event)
{
    QPushButton::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason || reported_)
        return;
    reported_ = true;
    SendEndLabelEdit(this, grid_, row_, column_, std::nullopt, 0);
    deleteLater();
}

void CButtonIPE::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const CRect whole = FromQRect(rect());
    FillSolidRect(painter, whole, GetSysColor(COLOR_BTNFACE));
    FrameRect(painter, whole, GetSysColor(COLOR_BTNSHADOW));
    CRect textRect = whole;
    if (isDown())
        textRect.OffsetRect(1, 0);
    else
        textRect.OffsetRect(0, -1);
    painter.setFont(font());
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    if (isEnabled()) {
        painter.setPen(ToQColor(GetSysColor(COLOR_BTNTEXT)));
        painter.drawText(ToQRect(textRect), flags, text());
        return;
    }
    CRect embossed = textRect;
    embossed.OffsetRect(1, 1);
    painter.setPen(ToQColor(GetSysColor(COLOR_BTNHIGHLIGHT)));
    painter.drawText(ToQRect(embossed), flags, text());
    painter.setPen(ToQColor(GetSysColor(COLOR_BTNSHADOW)));
    painter.drawText(ToQRect(textRect), flags, text());
}
