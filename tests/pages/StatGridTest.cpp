// The statistics table class and the player tables built on it: showing a
// table value, sorting it by header clicks, bold cells, wrapping and the
// layout signal to the parent.
#include "PagesTestSupport.h"

#include "pages/CPlayerStatGrid.h"
#include "platform/Colors.h"
#include "platform/NotifyEvent.h"
#include "views/PlayerStatTable.h"

#include <QFontMetrics>
#include <array>

namespace
{

class PlayerTableTest : public testing::Test
{
protected:
    template <typename Grid> Grid &Make()
    {
        auto *grid = new Grid(&window, IDC_TEST);
        grid->SetupColumns();
        grid->setGeometry(0, 0, 600, 300);
        return *grid;
    }

    static constexpr int IDC_TEST = 1031;
    MessageSink window;
    TestSeason noSeason;
};

TestTeam threeRushers()
{
    TestTeam team({{"Short Name", "HCM"}});
    team.Player({{"Name", "Belcourt"}, {"Rush Att", "6"}, {"Rush Yds", "20"}, {"Rush Avg", "9.5"}})
        .Player({{"Name", "Tillery"}, {"Rush Att", "0"}, {"Rush Yds", "0"}})
        .Player({{"Name", "Adams"}, {"Rush Att", "3"}, {"Rush Yds", "45"}, {"Rush Avg", "10.0"}})
        .Player({{"Name", "Cole"}, {"Rush Att", "2"}, {"Rush Yds", "-4"}, {"Rush Avg", "-2.0"}});
    return team;
}

} // namespace

TEST_F(PlayerTableTest, ShowsTheValueAndSortsItByHeaderClicks)
{
    auto &table = Make<CRushingGrid>();
    EXPECT_EQ(table.GetColumnText(0), "Name");
    table.ShowTable(BuildPlayerStatTable(StatColumnSets::kRushing, threeRushers(), noSeason));
    EXPECT_EQ(table.GetColumnText(0), "HCM");
    EXPECT_EQ(ColumnTexts(table, 0), (std::vector<QString>{"Adams", "Belcourt", "Cole"}));
    EXPECT_EQ(table.GetItemData(0), 2);
    table.resize(400, 200);
    ShowAndWait(window);
    table.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

    // Column 2 ("YDS") spans x 133..166 of the header.
    const QRect header = table.GetHeaderCtrl()->geometry();
    const QPoint yards(150, header.height() / 2);
    QTest::mouseClick(table.GetHeaderCtrl(), Qt::LeftButton, {}, yards);
    QApplication::processEvents();
    EXPECT_EQ(ColumnTexts(table, 2), (std::vector<QString>{"45", "20", "-4"}));
    QTest::mouseClick(table.GetHeaderCtrl(), Qt::LeftButton, {}, yards);
    QApplication::processEvents();
    EXPECT_EQ(ColumnTexts(table, 2), (std::vector<QString>{"-4", "20", "45"}));
    // Row data, colours and the selection move with their rows.
    EXPECT_EQ(table.GetItemData(0), 3);
    EXPECT_EQ(table.GetItemData(2), 2);
    EXPECT_EQ(table.GetCellTextColor(2, 2), kLeaderColor);
    EXPECT_EQ(table.GetItemState(1, LVIS_SELECTED), static_cast<unsigned>(LVIS_SELECTED));
    EXPECT_EQ(table.GetItemText(1, 0), "Belcourt");

    table.SetSortable(false);
    QTest::mouseClick(table.GetHeaderCtrl(), Qt::LeftButton, {}, yards);
    QApplication::processEvents();
    EXPECT_EQ(ColumnTexts(table, 2), (std::vector<QString>{"-4", "20", "45"}));
}

TEST_F(PlayerTableTest, ARefillKeepsDraggedWidthsAndShowsTheNewRows)
{
    auto &table = Make<CDefenseGrid>();
    table.SetColumnWidth(0, 140);
    TestTeam team({{"Short Name", "VIS"}});
    team.Player({{"Name", "Solo"}, {"Def Has", "1"}, {"Def UTack", "4"}});
    table.ShowTable(BuildPlayerStatTable(StatColumnSets::kDefense, team, noSeason));
    EXPECT_EQ(table.GetColumnWidth(0), 140);
    EXPECT_EQ(table.GetColumnText(0), "VIS");
    EXPECT_EQ(table.GetCellBkColor(0, 1), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(table.GetItemText(0, 2), "4");
    table.ShowTable(BuildPlayerStatTable(StatColumnSets::kDefense, TestTeam(), noSeason));
    ASSERT_EQ(table.GetItemCount(), 1);
    EXPECT_EQ(table.GetItemText(0, 0), "None");
    EXPECT_EQ(table.GetItemData(0), -1);
    EXPECT_EQ(table.GetCellBkColor(0, 1), GetSysColor(COLOR_WINDOW));
}

TEST_F(PlayerTableTest, ResizedColumnTellsTheParent)
{
    auto &table = Make<CPassingGrid>();
    int changes = 0;
    QObject::connect(&table, &CStatGridCtrl::gridLayoutChanged, [&changes] { ++changes; });
    emit table.GetHeaderCtrl()->TrackEnded(1);
    emit table.GetHeaderCtrl()->DividerDoubleClicked(2);
    EXPECT_EQ(changes, 2);
}

TEST(StatGridPixels, BoldCellIsHeavierAndStartsWhereAPlainOneDoes)
{
    QWidget window;
    window.resize(300, 120);
    CStatGridCtrl grid(&window);
    grid.setGeometry(0, 0, 300, 120);
    StatTable table;
    table.columns = {{"Text", 200, TableAlignment::Left}};
    table.rows.resize(2);
    table.rows[0].cells = {TableCell::Text("HHHH")};
    table.rows[0].cells[0].bold = true;
    table.rows[1].cells = {TableCell::Text("HHHH")};
    grid.ShowTable(table);
    ShowAndWait(window);
    const QImage image = grid.viewport()->grab().toImage();
    // Black text (RGB 0, 0, 0, smoothed) on the white cells of rows 0 and 1.
    auto inked = [&](int row) {
        return CountPixels(image, grid.GetCellRect(row, 0), RGB(0, 0, 0));
    };
    auto firstInkColumn = [&](int row) {
        const CRect rect = grid.GetCellRect(row, 0);
        for (int x = rect.left + 1; x < rect.right; ++x)
            for (int y = rect.top + 2; y < rect.bottom - 2; ++y)
                if (NearColour(image.pixel(x, y), RGB(0, 0, 0)))
                    return x;
        return -1;
    };
    EXPECT_GT(inked(0), inked(1) + 10);
    // The bold text starts where the plain one does.
    EXPECT_NEAR(firstInkColumn(0), firstInkColumn(1), 1);
}

TEST(StatGridPixels, LeaderIsRedAndSeasonMarkLightGreen)
{
    QWidget window;
    window.resize(400, 120);
    CRushingGrid grid(&window);
    grid.SetupColumns();
    grid.setGeometry(0, 0, 400, 120);
    TestTeam team;
    team.Player({{"Name", "A"}, {"Check Name", "A"}, {"Rush Att", "8"}, {"Rush Yds", "88"}})
        .Player({{"Name", "B"}, {"Check Name", "B"}, {"Rush Att", "1"}, {"Rush Yds", "10"}});
    TestSeason season;
    season.Player({{"Check Name", "B"}, {"Played", "3"}, {"Rush Yds", "6"}});
    grid.ShowTable(BuildPlayerStatTable(StatColumnSets::kRushing, team, season));
    ShowAndWait(window);
    const QImage image = grid.viewport()->grab().toImage();
    // The leader's yards (row 0, column 2) are drawn in red RGB(255, 0, 0).
    EXPECT_GT(CountPixels(image, grid.GetCellRect(0, 2), RGB(255, 0, 0)), 5);
    EXPECT_EQ(CountPixels(image, grid.GetCellRect(1, 2), RGB(255, 0, 0)), 0);
    // Row 1's 10 yards beat 6 / 3 per game: light green RGB(192, 255, 192) behind them.
    const CRect marked = grid.GetCellRect(1, 2);
    EXPECT_EQ(image.pixel(marked.left + 2, marked.top + 2), ToQRgb(kSeasonMarkColor));
    const CRect plain = grid.GetCellRect(0, 2);
    EXPECT_EQ(image.pixel(plain.left + 2, plain.top + 2), ToQRgb(RGB(255, 255, 255)));
}
