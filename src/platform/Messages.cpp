#include "platform/Messages.h"

#include <QCoreApplication>

CMessageEvent::CMessageEvent(unsigned message, WPARAM wParam, LPARAM lParam)
    : QEvent(EventType()), message_(message), wParam_(wParam), lParam_(lParam)
{
}

QEvent::Type CMessageEvent::EventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

LRESULT SendMessage(QObject *target, unsigned message, WPARAM wParam, LPARAM lParam)
{
    if (!target)
        return 0;
    CMessageEvent event(message, wParam, lParam);
    QCoreApplication::sendEvent(target, &event);
    return event.Result();
}

void PostMessage(QObject *target, unsigned message, WPARAM wParam, LPARAM lParam)
{
    if (target)
        QCoreApplication::postEvent(target, new CMessageEvent(message, wParam, lParam));
}
