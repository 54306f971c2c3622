#include "gridctrl/CDateTimeIPE.h"

#include "gridctrl/CZrGridListCtrl.h"
#include "gridctrl/InPlaceEditing.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QKeyEvent>

CDateTimeIPE::CDateTimeIPE(CZrGridListCtrl *grid, int row, int column)
    : QDateTimeEdit(grid->viewport()), grid_(grid), row_(row), column_(column)
{
    setFont(grid->font());
    setCalendarPopup(true);
    calendarWindow_ = calendarWidget()->window();
    calendarWindow_->installEventFilter(this);
}

bool CDateTimeIPE::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride && IsEndingKey(event)) {
        event->accept();
        return true;
    }
    return QDateTimeEdit::event(event);
}

bool CDateTimeIPE::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == calendarWindow_) {
        if (event->type() == QEvent::Show) {
            update();
        } else if (event->type() == QEvent::Hide && !reported_) {
            // The calendar closed: the focus comes back here and then goes to
            // the grid, which ends the edit.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    setFocus(Qt::OtherFocusReason);
                    ReturnFocusToGrid(grid_);
                },
                Qt::QueuedConnection);
        }
    }
    return QDateTimeEdit::eventFilter(watched, event);
}

void CDateTimeIPE::keyPressEvent(QKeyEvent *event)
{
    if (!EndEditOnKey(event, grid_, cancelled_))
        QDateTimeEdit::keyPressEvent(event);
}

bool CDateTimeIPE::FocusInCalendar() const
{
    const QWidget *focus = QApplication::focusWidget();
    return calendarWindow_ && focus &&
           (focus == calendarWindow_ || calendarWindow_->isAncestorOf(focus));
}

void CDateTimeIPE::focusOutEvent(QFocusEvent *event)
{
    QDateTimeEdit::focusOutEvent(event);
    if (reported_ || event->reason() == Qt::PopupFocusReason || FocusInCalendar() ||
        (calendarWindow_ && calendarWindow_->isVisible()))
        return;
    reported_ = true;
    std::optional<QString> result;
    if (!cancelled_)
        result = text();
    const QDate chosen = date();
    const std::intptr_t param =
        (chosen.year() & 0xffff) | (static_cast<std::intptr_t>(chosen.month() & 0xffff) << 16);
    SendEndLabelEdit(this, grid_, row_, column_, result, param);
    deleteLater();
}
