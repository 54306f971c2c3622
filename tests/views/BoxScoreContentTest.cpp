// The box score's content: where the game stands, and the tables taken
// from those the window and the export show.
#include "views/BoxScoreContent.h"
#include "views/GameJson.h"
#include "views/TextWrapper.h"

#include "gamedata/CDriveChartData.h"
#include "gamedata/GameSession.h"
#include "gamedata/GameSituation.h"
#include "gamedata/ScoreboardState.h"

#include <gtest/gtest.h>

TEST(BoxScoreContent, StatusFromTheFinalMarkTheClockAndThePlays)
{
    struct Case {
        int period, minutes, seconds, lastPlayed;
        bool final;
        const char *label; // the situation's, used as it is once final
        const char *status;
    };
    const Case cases[] = {
        {4, 0, 0, 4, true, "Final", "Final"},
        {5, 3, 12, 5, true, "Final/OT", "Final/OT"},
        {2, 0, 0, 2, false, "2nd", "Halftime"},
        {3, 15, 0, 2, false, "3rd", "Halftime"}, // the third quarter has no play yet
        {3, 0, 0, 3, false, "3rd", "End of 3rd"},
        {1, 0, 0, 1, false, "1st", "End of 1st"},
        {4, 0, 0, 4, false, "4th", "End of 4th"}, // tied: overtime to come
        {5, 0, 0, 5, false, "OT", "End of OT"},
        {2, 7, 30, 2, false, "2nd", "In progress"},
        {3, 15, 0, 3, false, "3rd", "In progress"}, // its first play is in
        {0, 0, 0, 0, false, "", "In progress"},     // nothing played yet
    };
    for (const Case &c : cases) {
        GameSituation situation;
        situation.period = c.period;
        situation.period_label = c.label;
        ScoreboardState scoreboard;
        scoreboard.quarter = c.period;
        scoreboard.quarters = 4;
        scoreboard.minutes = c.minutes;
        scoreboard.seconds = c.seconds;
        scoreboard.final = c.final;
        EXPECT_EQ(BoxScoreContent::Status(situation, scoreboard, c.lastPlayed), c.status)
            << "period " << c.period << " at " << c.minutes << ":" << c.seconds;
    }
}

TEST(BoxScoreContent, TheSampleGameAsTheWindowShowsIt)
{
    const std::string samples = PYLONIX_SAMPLES_DIR;
    GameSession session;
    ASSERT_TRUE(session
                    .Reload({samples + "/game-final.xml", samples + "/season-home.xml",
                             samples + "/season-visitor.xml"})
                    .gameOpened);
    const TextWrapper wrapper;
    const BoxScoreContent content = BoxScoreContent::Build(session, true, wrapper);

    EXPECT_EQ(content.title, "Aldric & Mercy Wardens at Kestrel Bay Mariners");
    EXPECT_EQ(content.status, "Final");
    ASSERT_GE(content.facts.size(), 4u);
    EXPECT_EQ(content.facts[0], std::make_pair(QString("Date"), QString("10/17/2026")));
    ASSERT_EQ(content.lineScore.table.RowCount(), 2);
    EXPECT_EQ(content.lineScore.table.rows[0].Cell(0).text, "Kestrel Bay Mariners");
    EXPECT_EQ(content.lineScore.table.rows[1].cells.back().text, "28");

    // The same tables as the pages, without what paper cannot show.
    const CDriveChartData drives = CDriveChartData::Load(session.game(), session.teams(), {});
    const PageTableSource pages = GameJson::PageTables(session, drives, {}, wrapper);
    EXPECT_EQ(content.teamStats.table.rows.size(), pages("team_stats", -1, {}).rows.size());
    EXPECT_EQ(content.scoring.table.RowCount(), pages("scoring", -1, {}).RowCount());
    EXPECT_EQ(content.drives.table.RowCount(), drives.count());
    for (int side = 0; side < 2; ++side) {
        const BoxScoreTeam &team = content.teams[side];
        ASSERT_FALSE(team.tables.empty());
        EXPECT_EQ(team.tables.front().title, "Rushing") << "box-score order, rushing first";
        EXPECT_EQ(team.tables.back().title, "Defense");
        const StatTable rushing = pages("offense", side, "rushing");
        EXPECT_EQ(team.tables.front().table.rows.size(), rushing.rows.size());
        EXPECT_EQ(team.tables.front().table.rows[0].Cell(2).text, rushing.rows[0].Cell(2).text);
        const StatTable defense = pages("defense", side, "defense");
        const StatTable &printed = team.tables.back().table;
        EXPECT_EQ(printed.ColumnCount(), 14) << "the five separators left out";
        EXPECT_EQ(printed.rows[0].Cell(1).text, defense.rows[0].Cell(2).text);
        for (const BoxScoreTable &table : team.tables) {
            for (const TableRow &row : table.table.rows)
                EXPECT_GE(row.itemData, 0) << "no \"None\" rows: " << table.title.toStdString();
        }
    }
    // Tables nobody qualifies for are left out: the home team returned no
    // fumble, and the visitor's gets its own table.
    const auto titled = [](const BoxScoreTeam &team, const char *title) {
        return std::any_of(team.tables.begin(), team.tables.end(),
                           [title](const BoxScoreTable &table) { return table.title == title; });
    };
    EXPECT_FALSE(titled(content.teams[0], "Fumble Returns"));
    EXPECT_TRUE(titled(content.teams[1], "Fumble Returns"));
}
