#include "CPlayListGrid.h"

#include "views/ChartListTables.h"

CPlayListGrid::CPlayListGrid(QWidget *parent, int id)
    : CChartListGrid(PlayListColumns(), parent, id)
{
}
