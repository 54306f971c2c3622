#include "views/StatTable.h"
#include "views/TableSortState.h"

#include <gtest/gtest.h>

namespace
{

// A table of names (text) and yards (integer), rows keyed 0, 1, 2... in the
// order given.
StatTable NamesAndYards(const std::vector<std::pair<QString, int>> &entries)
{
    StatTable table;
    table.sortable = true;
    table.columns = {{"Name", 100, TableAlignment::Left, TableSortKind::Text, false},
                     {"YDS", 33, TableAlignment::Right, TableSortKind::Integer, true}};
    std::int32_t data = 0;
    for (const auto &[name, yards] : entries) {
        TableRow row;
        row.itemData = data++;
        row.cells = {TableCell::Text(name), TableCell::Number(QString::number(yards), yards)};
        table.rows.push_back(row);
    }
    return table;
}

std::vector<std::int32_t> DataOrder(const StatTable &table)
{
    std::vector<std::int32_t> order;
    for (const TableRow &row : table.rows)
        order.push_back(row.itemData);
    return order;
}

using Order = std::vector<std::int32_t>;

} // namespace

TEST(TableSort, FirstClickSortsTextAToZAndNumbersLargestFirst)
{
    StatTable table = NamesAndYards({{"Moss", 40}, {"Adams", 120}, {"Cole", 7}});
    TableSortState state;
    state.SortByColumn(table, 0);
    EXPECT_EQ(DataOrder(table), (Order{1, 2, 0}));
    EXPECT_EQ(state.LastSortedColumn(), 0);

    state.SortByColumn(table, 1);
    EXPECT_EQ(DataOrder(table), (Order{1, 0, 2}));
    EXPECT_EQ(table.rows[0].cells[0].text, "Adams");
}

TEST(TableSort, SecondClickReversesAndThirdSortsAsTheFirst)
{
    StatTable table = NamesAndYards({{"Moss", 40}, {"Adams", 120}, {"Cole", 7}});
    TableSortState state;
    state.SortByColumn(table, 1);
    EXPECT_EQ(DataOrder(table), (Order{1, 0, 2}));
    state.SortByColumn(table, 1);
    EXPECT_EQ(DataOrder(table), (Order{2, 0, 1}));
    EXPECT_EQ(state.LastSortedColumn(), -1);
    state.SortByColumn(table, 1);
    EXPECT_EQ(DataOrder(table), (Order{1, 0, 2}));

    state.SortByColumn(table, 0);
    state.Reset();
    state.SortByColumn(table, 0);
    EXPECT_EQ(DataOrder(table), (Order{1, 2, 0})) << "after a reset the click is a first again";
}

TEST(TableSort, EqualKeysKeepTheirOrderInBothDirections)
{
    StatTable table = NamesAndYards({{"B", 5}, {"A", 9}, {"C", 5}, {"D", 9}});
    table.SortRows(1, false);
    EXPECT_EQ(DataOrder(table), (Order{1, 3, 0, 2}));
    table.SortRows(1, true);
    EXPECT_EQ(DataOrder(table), (Order{0, 2, 1, 3}));
}

TEST(TableSort, NumbersSortByTheirKeyNotTheirText)
{
    // "10" sorts before "9" as text; the typed key puts 10 first.
    StatTable table = NamesAndYards({{"Nine", 9}, {"Ten", 10}, {"Loss", -3}});
    table.rows[0].cells[1].textColor = RGB(255, 0, 0);
    TableSortState state;
    state.SortByColumn(table, 1);
    EXPECT_EQ(DataOrder(table), (Order{1, 0, 2}));
    EXPECT_EQ(table.rows[1].cells[1].textColor, RGB(255, 0, 0)) << "colours move with the row";
}

TEST(TableSort, TextsCompareByTheirBytesAndMissingCellsAreEmpty)
{
    StatTable table = NamesAndYards({{"b", 1}, {"B", 2}, {QString::fromUtf8("\xc3\x89mile"), 3}});
    TableRow empty;
    empty.itemData = 3;
    table.rows.push_back(empty);
    TableSortState state;
    state.SortByColumn(table, 0);
    EXPECT_EQ(DataOrder(table), (Order{3, 1, 0, 2}));

    state.SortByColumn(table, 7);
    EXPECT_EQ(DataOrder(table), (Order{3, 1, 0, 2})) << "a column out of range sorts nothing";
    EXPECT_EQ(state.LastSortedColumn(), 0);
}
