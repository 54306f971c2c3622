#include "gridctrl/InPlaceEditing.h"

#include "gridctrl/CZrGridListCtrl.h"
#include "platform/ControlIds.h"
#include "platform/NotifyEvent.h"

#include <QKeyEvent>

void SendEndLabelEdit(QWidget *editor, CZrGridListCtrl *grid, int row, int column,
                      std::optional<QString> text, std::intptr_t param)
{
    if (!grid)
        return;
    CNotifyEvent notification(editor, GetDlgCtrlID(editor), LVN_ENDLABELEDIT, row, column);
    notification.SetText(std::move(text));
    notification.SetParam(param);
    SendNotify(grid, notification);
}

void ReturnFocusToGrid(CZrGridListCtrl *grid)
{
    if (grid)
        grid->setFocus(Qt::OtherFocusReason);
}

bool IsEndingKey(const QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

bool EndEditOnKey(QKeyEvent *event, CZrGridListCtrl *grid, bool &cancelled)
{
    if (!IsEndingKey(event))
        return false;
    if (event->key() == Qt::Key_Escape)
        cancelled = true;
    ReturnFocusToGrid(grid);
    event->accept();
    return true;
}
