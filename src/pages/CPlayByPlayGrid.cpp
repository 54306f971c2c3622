#include "CPlayByPlayGrid.h"

void CPlayByPlayGrid::SetupColumns()
{
    ShowColumns(PlayByPlayTable::Columns(300));
}

PlayByPlayOptions CPlayByPlayGrid::Options(int period, bool showTOP) const
{
    // Wrapped to the column's own width: the width fitted to the wrapped
    // texts must not feed the next wrap.
    return PlayByPlayOptions{period, showTOP, OwnColumnWidth(kPlayColumn)};
}
