#pragma once

#include "TableColumn.h"
#include "TableRow.h"
#include "TableSortState.h"

#include <vector>

// A table as a page shows it: its columns, its rows in the order shown,
// whether a click on a column's caption sorts it, and the state such clicks
// continue from (a table built in its default order counts as sorted by that
// column). Built from the game by the view model; widgets only show it, the
// export writes it.
struct StatTable {
    // The colours of cells and rows that set none.
    static constexpr COLORREF kTextColor = GetSysColor(COLOR_BTNTEXT);
    static constexpr COLORREF kBackground = GetSysColor(COLOR_WINDOW);

    std::vector<TableColumn> columns;
    std::vector<TableRow> rows;
    // The width each column is drawn at once fitted to its texts
    // (FitColumns); empty: every column at its own width.
    std::vector<int> drawnWidths;
    bool sortable = false;
    TableSortState sort;

    int ColumnCount() const { return static_cast<int>(columns.size()); }
    int RowCount() const { return static_cast<int>(rows.size()); }
    // The width a column is drawn at: fitted, else its own.
    int DrawnWidth(int column) const;

    // Sorts the rows by a column's typed keys, stably, text A to Z or numbers
    // largest first, or the other way round when `reversed`. Returns the
    // former positions of the rows in their new order; out-of-range columns
    // leave the order as it is and return nothing.
    std::vector<std::size_t> SortRows(int column, bool reversed);
    // Sorts as a click on the caption of `column` does, continuing from
    // `sort`; returns as SortRows.
    std::vector<std::size_t> SortByHeaderClick(int column)
    {
        return sort.SortByColumn(*this, column);
    }
    // The colours a cell is drawn with: its own, else its row's, else the table's.
    COLORREF TextColorAt(int row, int column) const;
    COLORREF BackgroundAt(int row, int column) const;

    bool operator==(const StatTable &) const = default;
};
