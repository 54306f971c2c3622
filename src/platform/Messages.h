#pragma once

#include <QEvent>
#include <cstdint>

class QObject;

// Message parameters. Both are signed and wide enough for a pointer; a
// receiver casts them to what its message carries.
using WPARAM = std::intptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// The first number of a window's private messages. Our own windows tell each
// other what happened through typed signals; none of them uses one.
constexpr unsigned WM_USER = 0x400;

// A private message delivered to a window's event(): the receiver checks
// type() == CMessageEvent::EventType() and dispatches on Message().
class CMessageEvent : public QEvent
{
public:
    CMessageEvent(unsigned message, WPARAM wParam, LPARAM lParam);

    // The event type of every private message, registered with Qt once.
    static QEvent::Type EventType();

    unsigned Message() const { return message_; }
    WPARAM WParam() const { return wParam_; }
    LPARAM LParam() const { return lParam_; }

    // The answer a sent message gives back to SendMessage.
    LRESULT Result() const { return result_; }
    void SetResult(LRESULT result) { result_ = result; }

private:
    unsigned message_;
    WPARAM wParam_;
    LPARAM lParam_;
    LRESULT result_ = 0;
};

// Delivers the message at once and returns the receiver's result (0 when it
// did not set one or when `target` is null).
LRESULT SendMessage(QObject *target, unsigned message, WPARAM wParam = 0, LPARAM lParam = 0);

// Queues the message for the receiver's thread; safe to call from any thread.
// A message to a window that is destroyed before delivery is dropped.
void PostMessage(QObject *target, unsigned message, WPARAM wParam = 0, LPARAM lParam = 0);
