// The statistics table class and the player tables built on it: sorting,
// the one-decimal cut, season marks, leaders, "None" rows, bold cells,
// wrapping and the layout message to the parent.
#include "PagesTestSupport.h"

#include "pages/CPlayerStatGrid.h"
#include "platform/Colors.h"
#include "platform/NotifyEvent.h"

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

TEST_F(PlayerTableTest, GateLabelChoosesRowsAndHeaderShowsShortName)
{
    auto &table = Make<CRushingGrid>();
    EXPECT_EQ(table.GetColumnText(0), "Name");
    table.FillTeam(threeRushers(), noSeason);
    EXPECT_EQ(table.GetColumnText(0), "HCM");
    EXPECT_EQ(ColumnTexts(table, 0), (std::vector<QString>{"Belcourt", "Adams", "Cole"}));
    // Row data is the player's index in the team, the skipped player included.
    EXPECT_EQ(table.GetItemData(0), 0);
    EXPECT_EQ(table.GetItemData(1), 2);
    EXPECT_EQ(table.GetItemData(2), 3);
}

TEST_F(PlayerTableTest, SortDirectionsAndTheThirdClick)
{
    auto &table = Make<CRushingGrid>();
    table.FillTeam(threeRushers(), noSeason);
    ASSERT_TRUE(table.IsSortable());
    const int yards = 2;
    table.SortByColumn(yards);
    EXPECT_EQ(ColumnTexts(table, yards), (std::vector<QString>{"45", "20", "-4"}));
    table.SortByColumn(yards);
    EXPECT_EQ(ColumnTexts(table, yards), (std::vector<QString>{"-4", "20", "45"}));
    table.SortByColumn(yards);
    EXPECT_EQ(ColumnTexts(table, yards), (std::vector<QString>{"45", "20", "-4"}));
    // Row data moves with its row, whatever its size.
    EXPECT_EQ(table.GetItemData(0), 2);
    EXPECT_EQ(table.GetItemData(2), 3);
    table.SetItemData(0, 40000);
    table.SetItemData(1, -1);
    table.SortByColumn(yards);
    EXPECT_EQ(ColumnTexts(table, yards), (std::vector<QString>{"-4", "20", "45"}));
    EXPECT_EQ(table.GetItemData(1), -1);
    EXPECT_EQ(table.GetItemData(2), 40000);
    table.SortByColumn(yards);

    table.SortByColumn(0);
    EXPECT_EQ(ColumnTexts(table, 0), (std::vector<QString>{"Adams", "Belcourt", "Cole"}));
    table.SortByColumn(0);
    EXPECT_EQ(ColumnTexts(table, 0), (std::vector<QString>{"Cole", "Belcourt", "Adams"}));

    // An average is a real number: 10.0 before 9.5, which text order would reverse.
    table.SortByColumn(5);
    EXPECT_EQ(ColumnTexts(table, 5), (std::vector<QString>{"10.0", "9.5", "-2.0"}));
}

TEST_F(PlayerTableTest, HeaderClickSortsOnlySortableTables)
{
    auto &table = Make<CRushingGrid>();
    table.FillTeam(threeRushers(), noSeason);
    table.resize(400, 200);
    ShowAndWait(window);
    const QRect header = table.GetHeaderCtrl()->geometry();
    // Column 2 ("YDS") spans x 133..166 of the header.
    QTest::mouseClick(table.GetHeaderCtrl(), Qt::LeftButton, {}, QPoint(150, header.height() / 2));
    QApplication::processEvents();
    EXPECT_EQ(ColumnTexts(table, 2), (std::vector<QString>{"45", "20", "-4"}));

    table.SetSortable(false);
    QTest::mouseClick(table.GetHeaderCtrl(), Qt::LeftButton, {}, QPoint(150, header.height() / 2));
    QApplication::processEvents();
    EXPECT_EQ(ColumnTexts(table, 2), (std::vector<QString>{"45", "20", "-4"}));
}

TEST_F(PlayerTableTest, ValuesAreCutAfterOneDecimal)
{
    auto &table = Make<CReceivingGrid>();
    TestTeam team;
    team.Player({{"Name", "A"}, {"Rcv No", "3"}, {"Rcv Avg", "12.34"}})
        .Player({{"Name", "B"}, {"Rcv No", "2"}, {"Rcv Avg", "7.5"}})
        .Player({{"Name", "C"}, {"Rcv No", "1"}, {"Rcv Avg", "7"}});
    table.FillTeam(team, noSeason);
    EXPECT_EQ(ColumnTexts(table, 5), (std::vector<QString>{"12.3", "7.5", "7"}));
}

TEST_F(PlayerTableTest, SeasonMarkNeedsThreeGamesAndABetterValue)
{
    auto &table = Make<CRushingGrid>();
    TestTeam team;
    team.Player(
            {{"Name", "Two games"}, {"Check Name", "TWO"}, {"Rush Att", "5"}, {"Rush Yds", "99"}})
        .Player({{"Name", "Beats"}, {"Check Name", "BEATS"}, {"Rush Att", "5"}, {"Rush Yds", "51"}})
        .Player(
            {{"Name", "Equals"}, {"Check Name", "EQUALS"}, {"Rush Att", "5"}, {"Rush Yds", "50"}})
        .Player({{"Name", "Avg"}, {"Check Name", "AVG"}, {"Rush Att", "5"}, {"Rush Avg", "3.0"}})
        .Player({{"Name", "No season"},
                 {"Check Name", "NONE"},
                 {"Rush Att", "9"},
                 {"Rush Yds", "500"}});
    TestSeason season;
    season.Player({{"Check Name", "TWO"}, {"Played", "2"}, {"Rush Yds", "10"}})
        .Player({{"Check Name", "BEATS"}, {"Played", "3"}, {"Rush Yds", "150"}, {"Rush Att", "30"}})
        .Player({{"Check Name", "EQUALS"}, {"Played", "3"}, {"Rush Yds", "150"}})
        // An average compares with the season average itself, not per game:
        // 3.0 beats 4.0 / 4 but not 4.0.
        .Player({{"Check Name", "AVG"}, {"Played", "4"}, {"Rush Avg", "4.0"}});
    table.FillTeam(team, season);
    const int yards = 2, attempts = 1, average = 5;
    EXPECT_NE(table.GetCellBkColor(0, yards), kSeasonMarkColor);
    EXPECT_EQ(table.GetCellBkColor(1, yards), kSeasonMarkColor);
    EXPECT_NE(table.GetCellBkColor(1, attempts), kSeasonMarkColor); // 5 is not above 30 / 3
    EXPECT_NE(table.GetCellBkColor(2, yards), kSeasonMarkColor);
    EXPECT_NE(table.GetCellBkColor(3, average), kSeasonMarkColor);
    EXPECT_NE(table.GetCellBkColor(4, yards), kSeasonMarkColor);
}

TEST_F(PlayerTableTest, LeadersAreTiesInTenthsAndNeverZero)
{
    auto &table = Make<CPassingGrid>();
    TestTeam team;
    team.Player({{"Name", "A"}, {"Pass Att", "10"}, {"Pass Yds", "120"}, {"Pass TD", "0"}})
        .Player({{"Name", "B"}, {"Pass Att", "20"}, {"Pass Yds", "120"}, {"Pass TD", "0"}})
        .Player({{"Name", "C"}, {"Pass Att", "5"}, {"Pass Yds", "80"}, {"Pass TD", "0"}});
    table.FillTeam(team, noSeason);
    const int attempts = 2, yards = 4, touchdowns = 5;
    EXPECT_EQ(table.GetCellTextColor(0, yards), kLeaderColor);
    EXPECT_EQ(table.GetCellTextColor(1, yards), kLeaderColor);
    EXPECT_NE(table.GetCellTextColor(2, yards), kLeaderColor);
    EXPECT_EQ(table.GetCellTextColor(1, attempts), kLeaderColor);
    EXPECT_NE(table.GetCellTextColor(0, attempts), kLeaderColor);
    for (int row = 0; row < 3; ++row)
        EXPECT_NE(table.GetCellTextColor(row, touchdowns), kLeaderColor) << row;
    // Names are not a leader column.
    EXPECT_NE(table.GetCellTextColor(1, 0), kLeaderColor);

    // Values are compared in whole tenths: 1.57 and 1.51 tie, 0.05 is no leader.
    auto &averages = Make<CReceivingGrid>();
    TestTeam receivers;
    receivers.Player({{"Name", "A"}, {"Rcv No", "1"}, {"Rcv Avg", "1.57"}})
        .Player({{"Name", "B"}, {"Rcv No", "1"}, {"Rcv Avg", "1.51"}})
        .Player({{"Name", "C"}, {"Rcv No", "1"}, {"Rcv Avg", "1.4"}});
    averages.FillTeam(receivers, noSeason);
    EXPECT_EQ(averages.GetCellTextColor(0, 5), kLeaderColor);
    EXPECT_EQ(averages.GetCellTextColor(1, 5), kLeaderColor);
    EXPECT_NE(averages.GetCellTextColor(2, 5), kLeaderColor);
    TestTeam tiny;
    tiny.Player({{"Name", "A"}, {"Rcv No", "1"}, {"Rcv Avg", "0.05"}});
    averages.FillTeam(tiny, noSeason);
    EXPECT_NE(averages.GetCellTextColor(0, 5), kLeaderColor);
}

TEST_F(PlayerTableTest, NoneRowWithoutSeparatorColours)
{
    auto &table = Make<CDefenseGrid>();
    TestTeam team;
    team.Player({{"Name", "Solo"}, {"Def Has", "1"}, {"Def UTack", "4"}});
    table.FillTeam(team, noSeason);
    ASSERT_EQ(table.GetItemCount(), 1);
    for (int column : {1, 5, 10, 14, 16})
        EXPECT_EQ(table.GetCellBkColor(0, column), GetSysColor(COLOR_BTNFACE)) << column;
    EXPECT_NE(table.GetCellBkColor(0, 2), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(table.GetItemText(0, 2), "4");

    // A team without a player past the gate, and one without players, get "None".
    std::array<TestTeam, 2> empties;
    empties[0].Player({{"Name", "Bench"}, {"Def Has", ""}});
    for (const TestTeam &empty : empties) {
        table.FillTeam(empty, noSeason);
        ASSERT_EQ(table.GetItemCount(), 1);
        EXPECT_EQ(table.GetItemText(0, 0), "None");
        EXPECT_EQ(table.GetItemData(0), -1);
        for (int column : {1, 5, 10, 14, 16})
            EXPECT_NE(table.GetCellBkColor(0, column), GetSysColor(COLOR_BTNFACE));
    }
    // Sorting keeps the "None" row's -1.
    table.SortByColumn(2);
    EXPECT_EQ(table.GetItemData(0), -1);
}

TEST_F(PlayerTableTest, ResizedColumnPostsLayoutToParent)
{
    auto &table = Make<CPassingGrid>();
    emit table.GetHeaderCtrl()->TrackEnded(1);
    emit table.GetHeaderCtrl()->DividerDoubleClicked(2);
    EXPECT_EQ(window.Count(UM_GRIDLAYOUT), 0); // posted, not sent
    QApplication::processEvents();
    EXPECT_EQ(window.Count(UM_GRIDLAYOUT), 2);
}

TEST(StatGridWrap, WrapsInTheTablesFont)
{
    CStatGridCtrl grid;
    const QString text = QStringLiteral("abc def ghij klm nop");
    const int width = QFontMetrics(grid.font()).horizontalAdvance(QStringLiteral("abc def gh"));
    const QStringList before = grid.WrapText(text, width);
    QFont larger = grid.font();
    larger.setPointSize(larger.pointSize() * 2);
    grid.setFont(larger);
    EXPECT_EQ(grid.WrapText(text, width), TextWrapper(larger).Wrap(text, width));
    EXPECT_NE(grid.WrapText(text, width), before);
}

TEST(StatGridPixels, BoldCellIsHeavierAndShowsNoAmpersand)
{
    QWidget window;
    window.resize(300, 120);
    CStatGridCtrl grid(&window);
    grid.setGeometry(0, 0, 300, 120);
    grid.InsertColumn(0, "Text", LVCFMT_LEFT, 200);
    grid.InsertItem(0, "&HHHH");
    grid.InsertItem(1, "HHHH");
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
    // The bold text starts where the plain one does: no "&" is drawn before it.
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
    grid.FillTeam(team, season);
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
