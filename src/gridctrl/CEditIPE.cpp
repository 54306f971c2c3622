#include "gridctrl/CEditIPE.h"

#include "gridctrl/CSpinnerIPE.h"
#include "gridctrl/CZrGridListCtrl.h"
#include "gridctrl/InPlaceEditing.h"
#include "platform/GdiPainting.h"
#include "platform/QtConversions.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>

CEditIPE::CEditIPE(CZrGridListCtrl *grid, int row, int column)
    : QLineEdit(grid->viewport()), grid_(grid), row_(row), column_(column)
{
    setFont(grid->font());
}

void CEditIPE::SetSpinner(CSpinnerIPE *spinner)
{
    spinner_ = spinner;
}

CSpinnerIPE *CEditIPE::Spinner() const
{
    return spinner_;
}

bool CEditIPE::event(QEvent *event)
{
    // Enter and Escape belong to the edit, not to the window's default buttons.
    if (event->type() == QEvent::ShortcutOverride && IsEndingKey(event)) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void CEditIPE::keyPressEvent(QKeyEvent *event)
{
    if (!EndEditOnKey(event, grid_, cancelled_))
        QLineEdit::keyPressEvent(event);
}

void CEditIPE::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // The edit's own context menu does not end the edit.
    if (event->reason() == Qt::PopupFocusReason || reported_)
        return;
    reported_ = true;
    if (spinner_)
        spinner_->hide();
    std::optional<QString> result;
    if (!cancelled_)
        result = text();
    SendEndLabelEdit(this, grid_, row_, column_, result, 0);
    if (spinner_)
        spinner_->deleteLater();
    deleteLater();
}

void CEditIPE::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    CRect frame = FromQRect(rect());
    FrameRect(painter, frame, GetSysColor(COLOR_BTNFACE));
    frame.DeflateRect(1, 1);
    FrameRect(painter, frame, GetSysColor(COLOR_BTNSHADOW));
}
