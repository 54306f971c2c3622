#include "CPlayerStatGrid.h"

#include "views/PlayerStatTable.h"

CPlayerStatGrid::CPlayerStatGrid(const StatTableLayout &layout, QWidget *parent, int id)
    : CStatGridCtrl(parent, id), layout_(layout)
{
}

void CPlayerStatGrid::SetupColumns()
{
    SetSortable(true);
    ShowColumns(PlayerStatColumns(layout_));
}
