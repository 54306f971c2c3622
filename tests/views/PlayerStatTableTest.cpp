// The player tables as values: which players get a row, the one-decimal cut,
// season marks, leaders, separators, the "None" row and the default order.
#include "views/PlayerStatTable.h"

#include "../support/TestTeams.h"

#include <gtest/gtest.h>
#include <ostream>
#include <vector>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace
{

const TestSeason noSeason;

TestTeam threeRushers()
{
    TestTeam team({{"Short Name", "HCM"}});
    team.Player({{"Name", "Belcourt"}, {"Rush Att", "6"}, {"Rush Yds", "20"}, {"Rush Avg", "9.5"}})
        .Player({{"Name", "Tillery"}, {"Rush Att", "0"}, {"Rush Yds", "0"}})
        .Player({{"Name", "Adams"}, {"Rush Att", "3"}, {"Rush Yds", "45"}, {"Rush Avg", "10.0"}})
        .Player({{"Name", "Cole"}, {"Rush Att", "2"}, {"Rush Yds", "-4"}, {"Rush Avg", "-2.0"}});
    return team;
}

std::vector<QString> ColumnTexts(const StatTable &table, int column)
{
    std::vector<QString> texts;
    for (const TableRow &row : table.rows)
        texts.push_back(row.Cell(column).text);
    return texts;
}

// The row of the player called `name`.
const TableRow &RowOf(const StatTable &table, const QString &name)
{
    for (const TableRow &row : table.rows) {
        if (row.Cell(0).text == name)
            return row;
    }
    ADD_FAILURE() << "no row " << name.toStdString();
    return table.rows.front();
}

} // namespace

TEST(PlayerStatTable, GateChoosesRowsInTheDefaultOrderUnderTheShortName)
{
    StatTable table = BuildPlayerStatTable(StatColumnSets::kRushing, threeRushers(), noSeason);
    EXPECT_TRUE(table.sortable);
    EXPECT_EQ(table.columns[0].caption, "HCM");
    EXPECT_EQ(table.columns[2].caption, "YDS");
    // The rushing table comes sorted by name, A to Z; row data is the
    // player's index in the team, the skipped player counted.
    EXPECT_EQ(ColumnTexts(table, 0), (std::vector<QString>{"Adams", "Belcourt", "Cole"}));
    EXPECT_EQ(table.rows[0].itemData, 2);
    EXPECT_EQ(table.rows[2].itemData, 3);
    // A click on the default column continues from the default order: it reverses.
    table.SortByHeaderClick(0);
    EXPECT_EQ(ColumnTexts(table, 0), (std::vector<QString>{"Cole", "Belcourt", "Adams"}));
    // An average sorts as a real number: 10.0 before 9.5, which text order would reverse.
    table.SortByHeaderClick(5);
    EXPECT_EQ(ColumnTexts(table, 5), (std::vector<QString>{"10.0", "9.5", "-2.0"}));

    // Special-teams tables come sorted by their first count, largest first.
    TestTeam kickers;
    kickers.Player({{"Name", "A"}, {"FG Att", "1"}, {"FG Made", "1"}})
        .Player({{"Name", "B"}, {"FG Att", "3"}, {"FG Made", "2"}});
    const StatTable kicks = BuildPlayerStatTable(StatColumnSets::kFieldGoals, kickers, noSeason);
    EXPECT_EQ(ColumnTexts(kicks, 0), (std::vector<QString>{"B", "A"}));
    EXPECT_EQ(kicks.sort.LastSortedColumn(), 1);
}

TEST(PlayerStatTable, ValuesAreCutAfterOneDecimalAndSortByTheirNumber)
{
    TestTeam team;
    team.Player({{"Name", "A"}, {"Rcv No", "3"}, {"Rcv Avg", "12.34"}})
        .Player({{"Name", "B"}, {"Rcv No", "12"}, {"Rcv Avg", "7.5"}});
    const StatTable table = BuildPlayerStatTable(StatColumnSets::kReceiving, team, noSeason);
    EXPECT_EQ(RowOf(table, "A").Cell(5).text, "12.3");
    EXPECT_DOUBLE_EQ(RowOf(table, "A").Cell(5).number, 12.3);
    EXPECT_DOUBLE_EQ(RowOf(table, "B").Cell(1).number, 12);
}

TEST(PlayerStatTable, SeasonMarkNeedsThreeGamesAndABetterValue)
{
    TestTeam team;
    team.Player({{"Name", "Two"}, {"Check Name", "TWO"}, {"Rush Att", "5"}, {"Rush Yds", "99"}})
        .Player({{"Name", "Beats"}, {"Check Name", "BEATS"}, {"Rush Att", "5"}, {"Rush Yds", "51"}})
        .Player({{"Name", "Equals"}, {"Check Name", "EQ"}, {"Rush Att", "5"}, {"Rush Yds", "50"}})
        .Player({{"Name", "Avg"}, {"Check Name", "AVG"}, {"Rush Att", "5"}, {"Rush Avg", "3.0"}})
        .Player({{"Name", "None"}, {"Check Name", "NO"}, {"Rush Att", "9"}, {"Rush Yds", "500"}});
    TestSeason season;
    season.Player({{"Check Name", "TWO"}, {"Played", "2"}, {"Rush Yds", "10"}})
        .Player({{"Check Name", "BEATS"}, {"Played", "3"}, {"Rush Yds", "150"}, {"Rush Att", "30"}})
        .Player({{"Check Name", "EQ"}, {"Played", "3"}, {"Rush Yds", "150"}})
        // An average compares with the season average itself, not per game:
        // 3.0 beats 4.0 / 4 but not 4.0.
        .Player({{"Check Name", "AVG"}, {"Played", "4"}, {"Rush Avg", "4.0"}});
    const StatTable table = BuildPlayerStatTable(StatColumnSets::kRushing, team, season);
    const int attempts = 1, yards = 2, average = 5;
    EXPECT_EQ(RowOf(table, "Beats").Cell(yards).background, kSeasonMarkColor);
    EXPECT_EQ(RowOf(table, "Beats").Cell(attempts).background,
              std::nullopt); // 5 is not above 30 / 3
    EXPECT_EQ(RowOf(table, "Two").Cell(yards).background, std::nullopt);
    EXPECT_EQ(RowOf(table, "Equals").Cell(yards).background, std::nullopt);
    EXPECT_EQ(RowOf(table, "Avg").Cell(average).background, std::nullopt);
    EXPECT_EQ(RowOf(table, "None").Cell(yards).background, std::nullopt);
}

TEST(PlayerStatTable, LeadersAreTiesInTenthsAndNeverZero)
{
    TestTeam team;
    team.Player({{"Name", "A"}, {"Pass Att", "10"}, {"Pass Yds", "120"}, {"Pass TD", "0"}})
        .Player({{"Name", "B"}, {"Pass Att", "20"}, {"Pass Yds", "120"}, {"Pass TD", "0"}})
        .Player({{"Name", "C"}, {"Pass Att", "5"}, {"Pass Yds", "80"}, {"Pass TD", "0"}});
    const StatTable table = BuildPlayerStatTable(StatColumnSets::kPassing, team, noSeason);
    const int attempts = 2, yards = 4, touchdowns = 5;
    EXPECT_EQ(RowOf(table, "A").Cell(yards).textColor, kLeaderColor);
    EXPECT_EQ(RowOf(table, "B").Cell(yards).textColor, kLeaderColor);
    EXPECT_EQ(RowOf(table, "C").Cell(yards).textColor, std::nullopt);
    EXPECT_EQ(RowOf(table, "B").Cell(attempts).textColor, kLeaderColor);
    EXPECT_EQ(RowOf(table, "A").Cell(attempts).textColor, std::nullopt);
    for (const TableRow &row : table.rows) {
        EXPECT_EQ(row.Cell(touchdowns).textColor, std::nullopt);
        EXPECT_EQ(row.Cell(0).textColor, std::nullopt) << "names are no leader column";
    }

    // Whole tenths: 1.57 and 1.51 tie, 0.05 is no leader.
    TestTeam receivers;
    receivers.Player({{"Name", "A"}, {"Rcv No", "1"}, {"Rcv Avg", "1.57"}})
        .Player({{"Name", "B"}, {"Rcv No", "1"}, {"Rcv Avg", "1.51"}})
        .Player({{"Name", "C"}, {"Rcv No", "1"}, {"Rcv Avg", "1.4"}})
        .Player({{"Name", "D"}, {"Rcv No", "1"}, {"Rcv Avg", "0.05"}});
    const StatTable averages =
        BuildPlayerStatTable(StatColumnSets::kReceiving, receivers, noSeason);
    EXPECT_EQ(RowOf(averages, "A").Cell(5).textColor, kLeaderColor);
    EXPECT_EQ(RowOf(averages, "B").Cell(5).textColor, kLeaderColor);
    EXPECT_EQ(RowOf(averages, "C").Cell(5).textColor, std::nullopt);
    TestTeam tiny;
    tiny.Player({{"Name", "A"}, {"Rcv No", "1"}, {"Rcv Avg", "0.05"}});
    EXPECT_EQ(
        BuildPlayerStatTable(StatColumnSets::kReceiving, tiny, noSeason).rows[0].Cell(5).textColor,
        std::nullopt);
}

TEST(PlayerStatTable, SeparatorsAndTheNoneRow)
{
    TestTeam team;
    team.Player({{"Name", "Solo"}, {"Def Has", "1"}, {"Def UTack", "4"}});
    const StatTable table = BuildPlayerStatTable(StatColumnSets::kDefense, team, noSeason);
    ASSERT_EQ(table.RowCount(), 1);
    for (int column : {1, 5, 10, 14, 16})
        EXPECT_EQ(table.BackgroundAt(0, column), GetSysColor(COLOR_BTNFACE)) << column;
    EXPECT_EQ(table.BackgroundAt(0, 2), StatTable::kBackground);
    EXPECT_EQ(table.rows[0].Cell(2).text, "4");

    // A team without a player past the gate, and one without players, get "None".
    std::array<TestTeam, 2> empties;
    empties[0].Player({{"Name", "Bench"}, {"Def Has", ""}});
    for (const TestTeam &empty : empties) {
        StatTable none = BuildPlayerStatTable(StatColumnSets::kDefense, empty, noSeason);
        ASSERT_EQ(none.RowCount(), 1);
        EXPECT_EQ(none.rows[0].Cell(0).text, "None");
        EXPECT_EQ(none.rows[0].itemData, -1);
        for (int column : {1, 5, 10, 14, 16})
            EXPECT_EQ(none.BackgroundAt(0, column), StatTable::kBackground);
        none.SortByHeaderClick(2);
        EXPECT_EQ(none.rows[0].itemData, -1);
    }
}
