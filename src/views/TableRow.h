#pragma once

#include "TableCell.h"

#include <cstdint>
#include <optional>
#include <vector>

// One row of a table: the data that identifies what it shows (a player's
// index, a play's index...), which travels with it when the table is sorted,
// its colours (unset: the table's), and its cells, one per column (missing
// cells are empty).
struct TableRow {
    std::int32_t itemData = 0;
    std::optional<COLORREF> textColor;
    std::optional<COLORREF> background;
    std::vector<TableCell> cells;

    // The cell of `column`, or an empty one beyond the row's cells.
    const TableCell &Cell(int column) const;
    // The text colour of a cell: its own, else the row's.
    std::optional<COLORREF> TextColorOf(int column) const;
    // The background of a cell: its own, else the row's.
    std::optional<COLORREF> BackgroundOf(int column) const;

    bool operator==(const TableRow &) const = default;
};
