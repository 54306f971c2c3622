#include "TableSortState.h"

#include "StatTable.h"

void TableSortState::SortByColumn(StatTable &table, int column)
{
    if (column < 0 || column >= table.ColumnCount())
        return;
    const bool repeated = column == lastSortedColumn_;
    table.SortRows(column, repeated);
    lastSortedColumn_ = repeated ? -1 : column;
}
