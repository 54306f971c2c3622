#include "platform/NotifyEvent.h"

#include "platform/ControlIds.h"

#include <QCoreApplication>
#include <QWidget>

CNotifyEvent::CNotifyEvent(QWidget *from, int idFrom, int code, int row, int column)
    : QEvent(EventType()), from_(from), idFrom_(idFrom), code_(code), row_(row), column_(column)
{
}

QEvent::Type CNotifyEvent::EventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

bool SendNotify(QWidget *target, CNotifyEvent &notification)
{
    if (!target)
        return false;
    QCoreApplication::sendEvent(target, &notification);
    return notification.Handled();
}

bool NotifyParent(QWidget *from, int code, int row, int column)
{
    CNotifyEvent notification(from, GetDlgCtrlID(from), code, row, column);
    return SendNotify(from->parentWidget(), notification);
}
