// The tables filled from the game file and the team totals: team comparison
// (as drawn), play-by-play and scoring summary.
#include "PagesTestSupport.h"

#include "pages/CPlayByPlayGrid.h"
#include "pages/CScoringGrid.h"
#include "pages/CTeamStatsGrid.h"
#include "views/TeamStatsTable.h"

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

TEST(TeamStatsTable, BarsAreBlackAcrossTheTable)
{
    const auto teams = twoTeams();
    QWidget window;
    window.resize(320, 420);
    CTeamStatsGrid grid(&window);
    setUp(grid);
    grid.ShowTable(BuildTeamStatsTable(teams, false));
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
    grid.ShowTable(
        PlayByPlayTable::Build(game.document(), teams, grid.Options(0, false), grid.Wrapper()));
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
    grid.ShowTable(
        PlayByPlayTable::Build(game.document(), teams, grid.Options(0, false), grid.Wrapper()));
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
    grid.ShowTable(
        PlayByPlayTable::Build(game.document(), teams, grid.Options(0, false), grid.Wrapper()));
    EXPECT_EQ(grid.GetItemCount(), 1) << "the play on one line";
    EXPECT_EQ(grid.GetItemText(0, 0), "2147483647--2147483648");
    ShowAndWait(window);
    const QImage image = grid.viewport()->grab().toImage();
    EXPECT_EQ(image.width(), grid.viewport()->width());
}

TEST(ScoringTable, TheGridShowsThePossessionColumnOnlyWhenAsked)
{
    const GameText game(R"(<fbgame><team vh="H" id="HCM"/><scores>
        <score type="FG" vh="H" scorer="Albrecht" yds="34" top="04:12"/></scores></fbgame>)");
    CScoringGrid grid;
    setUp(grid);
    grid.Show(ScoringTable::Build(game.document(), false));
    ASSERT_EQ(grid.GetItemCount(), 1);
    EXPECT_EQ(grid.GetColumnWidth(CScoringGrid::kTopColumn), 0);
    EXPECT_EQ(grid.GetColumnText(CScoringGrid::kTopColumn), "");
    EXPECT_EQ(grid.GetItemText(0, 0), "HCM");
    grid.Show(ScoringTable::Build(game.document(), true));
    EXPECT_EQ(grid.GetColumnWidth(CScoringGrid::kTopColumn), 40);
    EXPECT_EQ(grid.GetColumnText(CScoringGrid::kTopColumn), "TOP");
    EXPECT_EQ(grid.GetItemText(0, CScoringGrid::kTopColumn), "04:12");
}
