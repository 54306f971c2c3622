#include "CPlayByPlayGrid.h"

void CPlayByPlayGrid::SetupColumns()
{
    int index = 0;
    for (const TableColumn &column : PlayByPlayTable::Columns(300)) {
        AddColumn(index, column.caption, static_cast<int>(column.alignment), column.width,
                  kSortText, false);
        ++index;
    }
}

PlayByPlayOptions CPlayByPlayGrid::Options(int period, bool showTOP) const
{
    return PlayByPlayOptions{period, showTOP, GetColumnWidth(kPlayColumn)};
}
