// The box score's content: where the game stands, and the tables taken
// from those the window and the export show.
#include "views/BoxScoreContent.h"
#include "views/TablePages.h"
#include "views/TextWrapper.h"
#include "views/ViewOptions.h"

#include "gamedata/CDriveChartData.h"
#include "gamedata/GameSession.h"
#include "gamedata/GameSituation.h"
#include "gamedata/ScoreboardState.h"

#include <gtest/gtest.h>

namespace
{

// The texts of a table's rows: paper prints them in black, without the
// window's colours.
std::vector<QStringList> texts(const StatTable &table)
{
    std::vector<QStringList> rows;
    for (const TableRow &row : table.rows) {
        rows.emplace_back();
        for (const TableCell &cell : row.cells)
            rows.back().append(cell.text);
    }
    return rows;
}

} // namespace

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
        {5, 0, 0, 5, false, "OT", "End of OT"},
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
    EXPECT_EQ(content.facts.at(0), std::make_pair(QString("Date"), QString("10/17/2026")));
    EXPECT_EQ(content.lineScore.table.rows.at(0).Cell(0).text, "Kestrel Bay Mariners");
    EXPECT_EQ(content.lineScore.table.rows.at(1).cells.back().text, "28");

    // The same tables as the pages, without what paper cannot show.
    const CDriveChartData drives = CDriveChartData::Load(session.game(), session.teams(), {});
    const ViewOptions options;
    const TableInput input{session, drives, options, wrapper};
    const auto pages = [&input](TablePage page, int side = -1,
                                const NamedStatTable *named = nullptr) {
        return BuildPageTable(input, {page, side, named});
    };
    EXPECT_EQ(texts(content.teamStats.table), texts(pages(TablePage::TeamStats)));
    EXPECT_EQ(content.drives.table.RowCount(), drives.count());
    for (int side = 0; side < 2; ++side) {
        const std::vector<BoxScoreTable> &tables = content.teams[side].tables;
        ASSERT_FALSE(tables.empty());
        EXPECT_EQ(tables.front().title, "Rushing") << "box-score order, rushing first";
        EXPECT_EQ(texts(tables.front().table),
                  texts(pages(TablePage::Offense, side, &StatColumnSets::kOffenseTables[1])));
        const StatTable &defense = tables.back().table;
        EXPECT_EQ(defense.ColumnCount(), 14) << "the five separators left out";
        EXPECT_EQ(defense.rows[0].Cell(1).text,
                  pages(TablePage::Defense, side, &StatColumnSets::kDefenseTables[0])
                      .rows[0]
                      .Cell(2)
                      .text);
        // Tables nobody qualifies for are left out: only the visitor returned a fumble.
        EXPECT_EQ(
            std::any_of(tables.begin(), tables.end(),
                        [](const BoxScoreTable &table) { return table.title == "Fumble Returns"; }),
            side == 1);
    }
}
