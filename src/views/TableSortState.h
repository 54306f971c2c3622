#pragma once

struct StatTable;

// What a header click sorts by: the first click on a column sorts it text A
// to Z or numbers largest first, a second click on the same column reverses
// that, and a third sorts as the first again. A table widget keeps one.
class TableSortState
{
public:
    // Sorts `table` by `column` as a click on its caption does.
    void SortByColumn(StatTable &table, int column);
    // Makes the next sort of any column a first sort again.
    void Reset() { lastSortedColumn_ = -1; }
    // The column whose next click reverses it, or -1.
    int LastSortedColumn() const { return lastSortedColumn_; }

private:
    int lastSortedColumn_ = -1;
};
