#include "TableSortState.h"

#include "StatTable.h"

std::vector<std::size_t> TableSortState::SortByColumn(StatTable &table, int column)
{
    if (column < 0 || column >= table.ColumnCount())
        return {};
    const bool repeated = column == lastSortedColumn_;
    std::vector<std::size_t> order = table.SortRows(column, repeated);
    lastSortedColumn_ = repeated ? -1 : column;
    return order;
}
