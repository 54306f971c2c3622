#include "CPlayerStatGrid.h"

#include "views/PlayerStatTable.h"

#include <QMouseEvent>

CPlayerStatGrid::CPlayerStatGrid(const StatTableLayout &layout, QWidget *parent, int id)
    : CStatGridCtrl(parent, id), layout_(layout)
{
}

void CPlayerStatGrid::SetupColumns()
{
    SetSortable(true);
    ShowColumns(PlayerStatColumns(layout_));
}

void CPlayerStatGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    CStatGridCtrl::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    int column = -1;
    const int row = HitTest(event->position().toPoint(), &column);
    if (column < 0 || row < 0 || row >= GetItemCount())
        return;
    // The "None" row has no player.
    const int player = GetItemData(row);
    if (player >= 0)
        emit playerActivated(team_, player);
}
