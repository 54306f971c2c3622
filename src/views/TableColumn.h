#pragma once

#include <QString>

// How a column's texts and caption are aligned; the values are the grid's
// column formats.
enum class TableAlignment {
    Left = 0,
    Right = 1,
    Center = 2,
};

// How the cells of a column compare when a table is sorted by it.
enum class TableSortKind {
    Text,    // by the drawn text, A to Z on the first sort
    Integer, // by the cell's number, largest first on the first sort
    Real,    // by the cell's number, largest first on the first sort
};

// One column of a table: its caption, width in pixels, alignment, how it
// sorts, whether its largest values are marked as leaders, and whether its
// texts are wrapped to its width (then fitting never widens it).
struct TableColumn {
    QString caption;
    int width = 0;
    TableAlignment alignment = TableAlignment::Left;
    TableSortKind sortKind = TableSortKind::Text;
    bool leaders = false;
    bool wrapped = false;

    bool operator==(const TableColumn &) const = default;
};
