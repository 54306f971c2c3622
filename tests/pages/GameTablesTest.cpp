// The tables filled from the game file and the team totals: team comparison,
// play-by-play and scoring summary.
#include "PagesTestSupport.h"

#include "pages/CPlayByPlayGrid.h"
#include "pages/CScoringGrid.h"
#include "pages/CTeamStatsGrid.h"

#include <array>

namespace
{

std::array<CTeamStats, 2> twoTeams()
{
    return {TestTeam({{"Short Name", "HCM"},
                      {"Name", "Harbor City"},
                      {"Rush Avg", "4.5"},
                      {"Fourth-Down Conversions", "1-2"},
                      {"Possession Time", "31:10"}}),
            TestTeam({{"Short Name", "PAM"},
                      {"Name", "Prairie"},
                      {"Rush Avg", "3.0"},
                      {"Possession Time", "28:50"}})};
}

template <typename Grid> void setUp(Grid &grid)
{
    grid.SetupColumns();
    grid.setGeometry(0, 0, 600, 400);
}

} // namespace

TEST(TeamStatsTable, RowsValuesAndThePossessionRow)
{
    const auto teams = twoTeams();
    CTeamStatsGrid grid;
    setUp(grid);
    EXPECT_EQ(grid.GetColumnText(1), "Home");
    grid.Fill(teams);
    ASSERT_EQ(grid.GetItemCount(), 21);
    EXPECT_EQ(grid.GetItemText(20, 0), "Fourth-Down Conversions");
    EXPECT_EQ(grid.GetItemText(20, 1), "1-2");
    EXPECT_EQ(grid.GetItemText(3, 0), "  Avg per Rush");
    EXPECT_EQ(grid.GetItemText(3, 1), "4.5");
    EXPECT_EQ(grid.GetItemText(3, 2), "3.0");
    EXPECT_EQ(grid.GetColumnText(1), "HCM");
    EXPECT_EQ(grid.GetColumnText(2), "PAM");
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(grid.GetCellBkColor(9, column), RGB(0, 0, 0));
        EXPECT_EQ(grid.GetCellBkColor(16, column), RGB(0, 0, 0));
        EXPECT_NE(grid.GetCellBkColor(8, column), RGB(0, 0, 0));
    }

    grid.SetShowTOP(true);
    grid.Fill(teams);
    ASSERT_EQ(grid.GetItemCount(), 22);
    EXPECT_EQ(grid.GetItemText(21, 0), "Possession Time");
    EXPECT_EQ(grid.GetItemText(21, 1), "31:10");
    EXPECT_EQ(grid.GetItemText(21, 2), "28:50");
}

TEST(TeamStatsTable, BarsAreBlackAcrossTheTable)
{
    const auto teams = twoTeams();
    QWidget window;
    window.resize(320, 420);
    CTeamStatsGrid grid(&window);
    setUp(grid);
    grid.Fill(teams);
    grid.SetFlags(GLF_FULLROWSELECT);
    grid.SetItemState(8, LVIS_SELECTED, LVIS_SELECTED);
    ShowAndWait(window);
    const QImage image = grid.viewport()->grab().toImage();
    // Rows 9 and 16 are black RGB(0, 0, 0) inside every cell, beside a selected row 8.
    for (int row : {9, 16}) {
        for (int column = 0; column < 3; ++column) {
            const CRect cell = grid.GetCellRect(row, column);
            EXPECT_EQ(image.pixel(cell.left + 3, cell.top + 3), ToQRgb(RGB(0, 0, 0)))
                << row << "," << column;
        }
    }
    const CRect caption = grid.GetCellRect(10, 1);
    EXPECT_EQ(image.pixel(caption.left + 3, caption.top + 3), ToQRgb(RGB(255, 255, 255)));
}

namespace
{

const char *const kPlays = R"(<fbgame>
<plays>
<qtr number="1">
  <drivestart vh="V" spot="V20" clock="15:00"/>
  <play context="V,1,10,V20" type="R" yds="3" text="Short run."/>
  <play context="V,2,7,V23" type="P" first="P" yds="12" text="Pass for a first down."/>
  <timeout team="V"/>
  <play context="V,1,10,V35" type="U" yds="40" text="Punt."/>
  <drivesum plays="3" yards="15" top="01:27"/>
  <comment text="Injury timeout."/>
  <endqtr/>
</qtr>
<qtr number="2">
  <drivestart vh="H" spot="H25" clock="14:10"/>
  <play context="H,3,7,V42" type="X" first="E" yds="15" text="Penalty, first down."/>
  <play text="Nothing known."/>
  <score H="7"/>
</qtr>
</plays>
</fbgame>)";

} // namespace

TEST(PlayByPlayTable, EveryRowKindWithItsTextsAndColours)
{
    const GameText game(kPlays);
    ASSERT_TRUE(game.opened());
    const auto teams = twoTeams();
    CPlayByPlayGrid grid;
    setUp(grid);
    grid.Fill(game.document(), teams);
    ASSERT_EQ(grid.GetItemCount(), 11); // the timeout element gives no row
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), grey = RGB(128, 128, 128);

    EXPECT_EQ(grid.GetItemText(0, 2), "&Prairie drive start on PAM20 at 15:00");
    EXPECT_EQ(grid.GetCellBkColor(0, 2), black);
    EXPECT_EQ(grid.GetCellTextColor(0, 2), white);

    EXPECT_EQ(grid.GetItemText(1, 0), "1-10");
    EXPECT_EQ(grid.GetItemText(1, 1), "PAM20");
    EXPECT_EQ(grid.GetItemText(1, 3), "r3");
    EXPECT_EQ(grid.GetCellBkColor(1, 0), white); // first play of a drive
    EXPECT_EQ(grid.GetItemText(2, 3), "&P12");
    EXPECT_EQ(grid.GetCellBkColor(2, 0), kShadedPlayColor);
    EXPECT_EQ(grid.GetItemText(3, 3), " 40");
    EXPECT_EQ(grid.GetCellBkColor(3, 0), white);

    EXPECT_EQ(grid.GetItemText(4, 2), "Drive summary: 3 plays, 15 yards");
    EXPECT_EQ(grid.GetCellBkColor(4, 2), grey);
    EXPECT_EQ(grid.GetItemText(5, 2), "Injury timeout.");
    EXPECT_EQ(grid.GetCellBkColor(5, 2), grey);
    EXPECT_EQ(grid.GetItemText(6, 2), "&End of quarter");
    EXPECT_EQ(grid.GetCellTextColor(6, 2), white);
    EXPECT_EQ(grid.GetCellBkColor(6, 2), grey);

    // A new drive starts white again, whatever the shade before it.
    EXPECT_EQ(grid.GetItemText(7, 2), "&Harbor City drive start on HCM25 at 14:10");
    EXPECT_EQ(grid.GetItemText(8, 0), "3-7");
    EXPECT_EQ(grid.GetItemText(8, 1), "PAM42");
    EXPECT_EQ(grid.GetItemText(8, 3), "&X15");
    EXPECT_EQ(grid.GetCellBkColor(8, 0), white);
    // Missing attributes read as "0": no context, no yards.
    EXPECT_EQ(grid.GetItemText(9, 0), "0-0");
    EXPECT_EQ(grid.GetItemText(9, 3), " 0");
    EXPECT_EQ(grid.GetCellBkColor(9, 0), kShadedPlayColor);
    EXPECT_EQ(grid.GetItemText(10, 2), "Harbor City 7 - Prairie 0");
    EXPECT_EQ(grid.GetCellBkColor(10, 2), kScoreLineColor);
    EXPECT_EQ(grid.GetCellTextColor(10, 2), black);
}

TEST(PlayByPlayTable, QuarterFilterAndPossessionTime)
{
    const GameText game(kPlays);
    const auto teams = twoTeams();
    CPlayByPlayGrid grid;
    setUp(grid);
    grid.SetQuarter(2);
    grid.Fill(game.document(), teams);
    ASSERT_EQ(grid.GetItemCount(), 4);
    EXPECT_EQ(grid.GetItemText(0, 2), "&Harbor City drive start on HCM25 at 14:10");

    grid.SetQuarter(1);
    grid.SetShowTOP(true);
    grid.Fill(game.document(), teams);
    EXPECT_EQ(grid.GetItemText(4, 2), "Drive summary: 3 plays, 15 yards, TOP: 01:27");

    grid.SetQuarter(5);
    grid.Fill(game.document(), teams);
    EXPECT_EQ(grid.GetItemCount(), 0); // no "None" row
}

TEST(PlayByPlayTable, WrappedPlaySharesOneShade)
{
    const GameText game(R"(<fbgame><plays><qtr number="1">
      <play context="H,1,10,H20" type="R" yds="1" text="One."/>
      <play context="H,2,9,H21" type="P" yds="9" text="A rather long play text that cannot possibly fit into the narrow column of this table."/>
      <play context="H,3,0,H30" type="R" yds="2" text="Three."/>
    </qtr></plays></fbgame>)");
    const auto teams = twoTeams();
    QWidget window;
    window.resize(500, 300);
    CPlayByPlayGrid grid(&window);
    setUp(grid);
    grid.setGeometry(0, 0, 500, 300);
    grid.SetColumnWidth(CPlayByPlayGrid::kPlayColumn, 150);
    grid.Fill(game.document(), teams);
    const int lines = grid.GetItemCount() - 2;
    ASSERT_GE(lines, 3);
    for (int row = 1; row <= lines; ++row)
        EXPECT_LE(QFontMetrics(grid.font()).horizontalAdvance(grid.GetItemText(row, 2)), 144);
    EXPECT_EQ(grid.GetItemText(2, 0), "");
    ShowAndWait(window);
    const QImage image = grid.viewport()->grab().toImage();
    // Every line of the second play has its light grey RGB(224, 224, 224) in
    // the empty "Down" cell; the plays before and after it are white.
    auto shade = [&](int row) {
        const CRect cell = grid.GetCellRect(row, 0);
        return image.pixel(cell.right - 3, cell.top + 2);
    };
    EXPECT_EQ(shade(0), ToQRgb(RGB(255, 255, 255)));
    for (int row = 1; row <= lines; ++row)
        EXPECT_EQ(shade(row), ToQRgb(kShadedPlayColor)) << row;
    EXPECT_EQ(shade(lines + 1), ToQRgb(RGB(255, 255, 255)));

    // A wider column needs fewer lines.
    grid.SetColumnWidth(CPlayByPlayGrid::kPlayColumn, 900);
    grid.Fill(game.document(), teams);
    EXPECT_EQ(grid.GetItemCount(), 3);
}

// The widest play column the command line lets through (that of the widest
// window) fills and draws with every sum of widths in range; the sanitizer
// build runs this.
TEST(PlayByPlayTable, ThePlayColumnOfTheWidestWindowFillsAndDraws)
{
    const GameText game(R"(<fbgame><plays><qtr number="1">
      <play context="H,2147483647,-2147483648,H2147483647" type="P" yds="2147483647" text="A rather long play text that fits on one line of a very wide column."/>
    </qtr></plays></fbgame>)");
    const auto teams = twoTeams();
    QWidget window;
    window.resize(500, 300);
    CPlayByPlayGrid grid(&window);
    setUp(grid);
    grid.setGeometry(0, 0, 500, 300);
    grid.SetColumnWidth(CPlayByPlayGrid::kPlayColumn, 10000);
    grid.Fill(game.document(), teams);
    EXPECT_EQ(grid.GetItemCount(), 1) << "the play on one line";
    EXPECT_EQ(grid.GetItemText(0, 0), "2147483647--2147483648");
    ShowAndWait(window);
    const QImage image = grid.viewport()->grab().toImage();
    EXPECT_EQ(image.width(), grid.viewport()->width());
}

TEST(ScoringTable, Descriptions)
{
    using Facts = CScoringGrid::ScoreFacts;
    auto td = [](std::string how, std::string patType, std::string patResult) {
        return Facts{"TD", how, "Oyelaran", "25", "Tillery", patType, "Brandt", patResult};
    };
    EXPECT_EQ(CScoringGrid::Describe(td("PASS", "KICK", "GOOD")),
              "Oyelaran 25 yard pass from Tillery (Brandt kick)");
    EXPECT_EQ(CScoringGrid::Describe(td("RUSH", "KICK", "BLKD")),
              "Oyelaran 25 yard run (Brandt kick blocked)");
    EXPECT_EQ(CScoringGrid::Describe(td("INT", "RUSH", "0")),
              "Oyelaran 25 yard interception return (Brandt rush)");
    EXPECT_EQ(CScoringGrid::Describe(td("KO", "PASS", "FAIL")),
              "Oyelaran 25 yard kickoff return (Brandt reception failed)");
    EXPECT_EQ(CScoringGrid::Describe(td("PUNT", "DROPKICK", "INT")),
              "Oyelaran 25 yard punt return (Brandt drop kick intercepted)");
    EXPECT_EQ(CScoringGrid::Describe(td("FUMB", "KICK", "FUMB")),
              "Oyelaran 25 yard fumble return (Brandt kick fumbled)");
    EXPECT_EQ(CScoringGrid::Describe(td("FGA", "0", "GOOD")),
              "Oyelaran 25 yard field goal return ");
    EXPECT_EQ(CScoringGrid::Describe(td("NETR", "KICK", "GOOD")),
              "Oyelaran 25 yard net recovery return (Brandt kick)");
    EXPECT_EQ(CScoringGrid::Describe(td("OTHER", "KICK", "GOOD")), "");
    EXPECT_EQ(CScoringGrid::Describe(Facts{"FG", "0", "Albrecht", "34", "0", "KICK", "X", "FAIL"}),
              "Field Goal MADE by Albrecht 34 yds");
    EXPECT_EQ(CScoringGrid::Describe(Facts{"SAF", "PASS", "A", "0", "B", "KICK", "C", "GOOD"}), "");
}

TEST(ScoringTable, RowsColoursAndPossessionColumn)
{
    const GameText game(R"(<fbgame>
      <team vh="V" id="PAM"/><team vh="H" id="HCM"/>
      <scores>
        <score type="FG" vh="H" qtr="1" clock="09:41" scorer="Albrecht" yds="34" plays="9" top="04:12" hscore="14" vscore="7"/>
        <score type="SAF" vh="v" qtr="2" clock="01:00"/>
        <score type="SAF" vh="x' or @vh='H" qtr="3" clock="02:00"/>
      </scores></fbgame>)");
    CScoringGrid grid;
    setUp(grid);
    grid.Fill(game.document());
    ASSERT_EQ(grid.GetItemCount(), 3);
    EXPECT_EQ(grid.GetColumnWidth(CScoringGrid::kTopColumn), 0);
    EXPECT_EQ(grid.GetColumnText(CScoringGrid::kTopColumn), "");
    EXPECT_EQ(grid.GetItemText(0, CScoringGrid::kTopColumn), "");
    EXPECT_EQ(grid.GetItemText(0, 0), "HCM");
    EXPECT_EQ(grid.GetItemText(0, 3), "Field Goal MADE by Albrecht 34 yds");
    EXPECT_EQ(grid.GetItemText(0, 4), "9-0"); // no "@drive": 0
    EXPECT_EQ(grid.GetItemText(0, 6), "14-7");
    EXPECT_EQ(grid.GetCellBkColor(0, 3), RGB(255, 255, 255));
    EXPECT_EQ(grid.GetCellTextColor(0, 3), RGB(0, 0, 0));
    // "v" is not "H": a visitor row, with no team of that id.
    EXPECT_EQ(grid.GetItemText(1, 0), "");
    EXPECT_EQ(grid.GetItemText(1, 3), "");
    EXPECT_EQ(grid.GetItemText(1, 6), "0-0");
    EXPECT_EQ(grid.GetCellBkColor(1, 3), RGB(128, 128, 128));
    EXPECT_EQ(grid.GetCellTextColor(1, 3), RGB(255, 255, 255));
    // A side that would change the team query names no team.
    EXPECT_EQ(grid.GetItemText(2, 0), "");

    grid.SetShowTOP(true);
    grid.Fill(game.document());
    EXPECT_EQ(grid.GetColumnWidth(CScoringGrid::kTopColumn), 40);
    EXPECT_EQ(grid.GetColumnText(CScoringGrid::kTopColumn), "TOP");
    EXPECT_EQ(grid.GetItemText(0, CScoringGrid::kTopColumn), "04:12");

    const GameText empty("<fbgame><scores/></fbgame>");
    grid.Fill(empty.document());
    EXPECT_EQ(grid.GetItemCount(), 0);
}
