#include "CPlayByPlayGrid.h"

void CPlayByPlayGrid::SetupColumns()
{
    ShowColumns(PlayByPlayTable::Columns(300));
}

PlayByPlayOptions CPlayByPlayGrid::Options(int period, bool showTOP) const
{
    return PlayByPlayOptions{period, showTOP, GetColumnWidth(kPlayColumn)};
}
