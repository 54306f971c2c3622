// The values the window shows of the game at a glance and of its reloads.
#include "views/AddedRows.h"
#include "views/ReloadStatus.h"
#include "views/SituationView.h"
#include "views/StatTable.h"

#include "gamedata/GameSituation.h"

#include "../support/TestTeams.h"

#include <array>
#include <gtest/gtest.h>

TEST(SituationView, LineScoreRowsAndSituationLinesOfAnOvertimeGame)
{
    GameSituation situation;
    situation.period_label = "OT";
    situation.line_score = {{"1", "2", "3", "4", "OT"}, {7, 0, 3, 7, 6}, {0, 14, 3}, 23, 17};
    situation.timeouts_left = {2, std::nullopt};
    situation.down_distance = "3rd & 7";
    situation.ball_on = "AM35";
    const std::array<CTeamStats, 2> teams = {TestTeam({{"Short Name", "HB"}}),
                                             TestTeam({{"Short Name", "AM"}})};

    const SituationView view = SituationView::Build(situation, teams);
    ASSERT_EQ(view.lineScore.size(), 3u);
    EXPECT_EQ(view.lineScore[0], QStringList({"", "1", "2", "3", "4", "OT", "T"}));
    EXPECT_EQ(view.lineScore[1], QStringList({"HB", "7", "0", "3", "7", "6", "23"}));
    EXPECT_EQ(view.lineScore[2], QStringList({"AM", "0", "14", "3", "", "", "17"}))
        << "periods the file gives no points for stay empty";
    EXPECT_EQ(view.lines, "Period: OT\nDown: 3rd & 7\nBall on: AM35\nTimeouts left: HB 2, AM -"
                          "\nLast play: -")
        << "a dash where the file tells nothing";
    EXPECT_EQ(view.strip, "HB 23  AM 17 | OT | 3rd & 7 | Ball on AM35 | Timeouts HB 2, AM -")
        << "the strip leaves out what the file does not tell";

    situation.period_label = "Final/OT";
    situation.final = true;
    EXPECT_EQ(SituationView::Build(situation, teams).strip,
              "HB 23  AM 17 | Final/OT | Timeouts HB 2, AM -")
        << "a finished game has no current down or ball position";
}

TEST(ReloadStatus, FailureKeepsItsFirstTimeAndTheLatestReasonUntilAGoodRead)
{
    ReloadStatus status;
    EXPECT_EQ(status.Text(), "");
    status.Loaded(QTime(14, 2, 5));
    EXPECT_EQ(status.Text(), "Updated 14:02:05");
    EXPECT_FALSE(status.failing());

    status.Failed(QTime(14, 3, 0), "/g/game.xml: not well-formed");
    status.Failed(QTime(14, 4, 30), "/g/game.xml: no such file");
    EXPECT_TRUE(status.failing());
    EXPECT_EQ(status.Text(), "Game file unreadable since 14:03:00: /g/game.xml: no such file");

    status.Loaded(QTime(14, 5, 1));
    EXPECT_FALSE(status.failing());
    EXPECT_EQ(status.Text(), "Updated 14:05:01");

    // A season file that fails is told with the load it failed in, and no longer.
    status.SeasonFailed(false, "/g/visitor.xml: no such file");
    status.Loaded(QTime(14, 6, 0));
    EXPECT_EQ(status.Text(), "Updated 14:06:00; Visitor season file unreadable: /g/visitor.xml: "
                             "no such file");
    status.Loaded(QTime(14, 7, 0));
    EXPECT_EQ(status.Text(), "Updated 14:07:00");
}

TEST(ReloadStatus, AMissingFileIsToldSinceItWentUntilAGoodReadOrAnotherFailure)
{
    ReloadStatus status;
    status.Missing(QTime(14, 3, 0), "/g/game.xml");
    status.Missing(QTime(14, 4, 0), "/g/game.xml");
    EXPECT_TRUE(status.failing());
    EXPECT_EQ(status.Text(), "Game file missing since 14:03:00: /g/game.xml");
    status.Failed(QTime(14, 4, 30), "/g/game.xml: not well-formed");
    EXPECT_EQ(status.Text(), "Game file unreadable since 14:04:30: /g/game.xml: not well-formed")
        << "back but unreadable: a failure of its own";
    status.Loaded(QTime(14, 6, 0));
    EXPECT_EQ(status.Text(), "Updated 14:06:00");
}

namespace
{

StatTable lines(const QStringList &texts)
{
    StatTable table;
    table.columns = {{"Play", 300, TableAlignment::Left, TableSortKind::Text, false}};
    for (const QString &text : texts) {
        TableRow row;
        row.cells = {TableCell::Text(text)};
        table.rows.push_back(row);
    }
    return table;
}

} // namespace

TEST(FirstAddedRow, RowsPastTheSharedOnesAreAddedUnlessNothingIsShared)
{
    const StatTable before = lines({"kickoff", "run for 4", "pass for 7"});
    EXPECT_EQ(FirstAddedRow(before, lines({"kickoff", "run for 4", "pass for 7", "punt"})), 3);
    EXPECT_EQ(FirstAddedRow(before, before), 3) << "nothing added";
    EXPECT_EQ(FirstAddedRow(before, lines({"kickoff", "run for 5", "pass for 7", "punt"})), 1)
        << "a corrected play and what follows it";
    EXPECT_EQ(FirstAddedRow(before, lines({"2nd quarter", "run for 2"})), 2)
        << "another table altogether marks nothing";
    EXPECT_EQ(FirstAddedRow(StatTable(), lines({"kickoff"})), 1);
}
