#pragma once

#include "TableColumn.h"
#include "TableRow.h"

#include <vector>

// A table as a page shows it: its columns, its rows in the order shown, and
// whether a click on a column's caption sorts it. Built from the game by the
// view model; widgets only show it, the export writes it.
struct StatTable {
    std::vector<TableColumn> columns;
    std::vector<TableRow> rows;
    bool sortable = false;

    int ColumnCount() const { return static_cast<int>(columns.size()); }
    int RowCount() const { return static_cast<int>(rows.size()); }

    // Sorts the rows by a column's typed keys, stably, text A to Z or numbers
    // largest first, or the other way round when `reversed`. Out-of-range
    // columns leave the order as it is.
    void SortRows(int column, bool reversed);

    bool operator==(const StatTable &) const = default;
};
