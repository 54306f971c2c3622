// The tables of team totals as values: the team statistics comparison and
// the yardage summary.
#include "views/TeamStatsTable.h"
#include "views/YardageSummaryTable.h"

#include "../support/TestTeams.h"

#include <array>
#include <gtest/gtest.h>

namespace
{

std::array<CTeamStats, 2> twoTeams()
{
    return {TestTeam({{"Short Name", "HCM"},
                      {"Rush Avg", "4.5"},
                      {"Rush Yds", "120"},
                      {"FD", "17"},
                      {"Fourth-Down Conversions", "1-2"},
                      {"Possession Time", "31:10"}}),
            TestTeam({{"Short Name", "PAM"},
                      {"Rush Avg", "3.0"},
                      {"Tot Off Yds", "301"},
                      {"Possession Time", "28:50"}})};
}

} // namespace

TEST(TeamStatsTable, RowsValuesBarsAndThePossessionRow)
{
    const auto teams = twoTeams();
    EXPECT_EQ(TeamStatsColumns()[1].caption, "Home");
    const StatTable table = BuildTeamStatsTable(teams, false);
    EXPECT_FALSE(table.sortable);
    ASSERT_EQ(table.RowCount(), 21);
    EXPECT_EQ(table.columns[1].caption, "HCM");
    EXPECT_EQ(table.columns[2].caption, "PAM");
    EXPECT_EQ(table.rows[20].Cell(0).text, "Fourth-Down Conversions");
    EXPECT_EQ(table.rows[20].Cell(1).text, "1-2");
    EXPECT_EQ(table.rows[3].Cell(0).text, "  Avg per Rush");
    EXPECT_EQ(table.rows[3].Cell(1).text, "4.5");
    EXPECT_EQ(table.rows[3].Cell(2).text, "3.0");
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(table.BackgroundAt(9, column), RGB(0, 0, 0));
        EXPECT_EQ(table.BackgroundAt(16, column), RGB(0, 0, 0));
        EXPECT_EQ(table.BackgroundAt(8, column), StatTable::kBackground);
    }

    const StatTable withTop = BuildTeamStatsTable(teams, true);
    ASSERT_EQ(withTop.RowCount(), 22);
    EXPECT_EQ(withTop.rows[21].Cell(0).text, "Possession Time");
    EXPECT_EQ(withTop.rows[21].Cell(1).text, "31:10");
    EXPECT_EQ(withTop.rows[21].Cell(2).text, "28:50");
}

TEST(YardageSummaryTable, FourRowsPerTeam)
{
    const StatTable table = BuildYardageSummaryTable(twoTeams());
    ASSERT_EQ(table.RowCount(), 4);
    EXPECT_EQ(table.columns[1].caption, "HCM");
    EXPECT_EQ(table.columns[2].alignment, TableAlignment::Right);
    EXPECT_EQ(table.rows[0].Cell(0).text, "Rush");
    EXPECT_EQ(table.rows[0].Cell(1).text, "120");
    EXPECT_EQ(table.rows[2].Cell(2).text, "301");
    EXPECT_EQ(table.rows[3].Cell(1).text, "17");
    EXPECT_EQ(table.rows[3].Cell(2).text, "");
}
