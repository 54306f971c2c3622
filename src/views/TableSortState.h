#pragma once

#include <cstddef>
#include <vector>

struct StatTable;

// What a header click sorts by: the first click on a column sorts it text A
// to Z or numbers largest first, a second click on the same column reverses
// that, and a third sorts as the first again. A table widget keeps one.
class TableSortState
{
public:
    // Sorts `table` by `column` as a click on its caption does; returns the
    // former positions of the rows in their new order (nothing for a column
    // out of range).
    std::vector<std::size_t> SortByColumn(StatTable &table, int column);
    // Makes the next sort of any column a first sort again.
    void Reset() { lastSortedColumn_ = -1; }
    // The column whose next click reverses it, or -1.
    int LastSortedColumn() const { return lastSortedColumn_; }

    bool operator==(const TableSortState &) const = default;

private:
    int lastSortedColumn_ = -1;
};
