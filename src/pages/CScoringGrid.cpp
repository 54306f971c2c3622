#include "CScoringGrid.h"

void CScoringGrid::SetupColumns()
{
    ShowColumns(ScoringTable::Columns(true));
}

void CScoringGrid::Show(StatTable table)
{
    if (kTopColumn < table.ColumnCount()) {
        const TableColumn &top = table.columns[kTopColumn];
        SetColumnWidth(kTopColumn, top.width);
        SetColumnText(kTopColumn, top.caption);
    }
    ShowTable(std::move(table));
}
