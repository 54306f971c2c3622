#include "CScoringGrid.h"

void CScoringGrid::SetupColumns()
{
    int index = 0;
    for (const TableColumn &column : ScoringTable::Columns(true)) {
        AddColumn(index, column.caption, static_cast<int>(column.alignment), column.width,
                  kSortText, false);
        ++index;
    }
}

void CScoringGrid::Show(const StatTable &table)
{
    if (kTopColumn < table.ColumnCount()) {
        const TableColumn &top = table.columns[kTopColumn];
        SetColumnWidth(kTopColumn, top.width);
        SetColumnText(kTopColumn, top.caption);
    }
    ShowRows(table);
}
