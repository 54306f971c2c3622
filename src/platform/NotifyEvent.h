#pragma once

#include <QEvent>
#include <QString>
#include <cstdint>
#include <optional>

class QWidget;

// Notification codes a control sends to its parent.
constexpr int NM_DBLCLK = -3;
constexpr int LVN_ENDLABELEDIT = -106;
constexpr int LVN_COLUMNCLICK = -108;
constexpr int HDN_DIVIDERDBLCLICK = -305;
constexpr int HDN_ENDTRACK = -306;

// A notification from a control to its parent window: who sent it, what
// happened, and the row and column it concerns (-1 where none applies).
// End-of-label-edit notifications also carry the edited text (none when the
// edit was cancelled) and a value of the editor's own.
class CNotifyEvent : public QEvent
{
public:
    CNotifyEvent(QWidget *from, int idFrom, int code, int row = -1, int column = -1);

    // The event type of every notification, registered with Qt once.
    static QEvent::Type EventType();

    QWidget *From() const { return from_; }
    int IdFrom() const { return idFrom_; }
    int Code() const { return code_; }
    int Row() const { return row_; }
    int Column() const { return column_; }

    const std::optional<QString> &Text() const { return text_; }
    void SetText(std::optional<QString> text) { text_ = std::move(text); }
    std::intptr_t Param() const { return param_; }
    void SetParam(std::intptr_t param) { param_ = param; }

    // Whether a receiver handled the notification.
    bool Handled() const { return handled_; }
    void SetHandled(bool handled = true) { handled_ = handled; }

private:
    QWidget *from_;
    int idFrom_;
    int code_;
    int row_;
    int column_;
    std::optional<QString> text_;
    std::intptr_t param_ = 0;
    bool handled_ = false;
};

// Delivers the notification to `target` at once; true when it was handled. A
// container passes on what it does not handle with SendNotify(parentWidget(), n).
bool SendNotify(QWidget *target, CNotifyEvent &notification);

// Sends a notification from `from`, named by its control id, to its parent.
bool NotifyParent(QWidget *from, int code, int row = -1, int column = -1);
