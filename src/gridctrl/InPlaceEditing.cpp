#include "gridctrl/InPlaceEditing.h"

#include "gridctrl/CZrGridListCtrl.h"
#include "platform/ControlIds.h"
#include "platform/NotifyEvent.h"

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
