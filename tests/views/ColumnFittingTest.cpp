// Fitting the columns of a table to its texts in the room its page leaves.
#include "views/ColumnFitting.h"

#include <QFont>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace
{

QFont TableFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    return font;
}

// What a cell needs: its text and a space's margin on each side, in the
// first column also the grid's 2-pixel edge.
int Need(const QString &text, int column = 1)
{
    const QFontMetrics metrics(TableFont());
    return metrics.horizontalAdvance(text) + 2 * metrics.horizontalAdvance(QLatin1Char(' ')) +
           (column == 0 ? 2 : 0);
}

// Columns "Name" (40), an empty hidden one (0) and "Yds" (30); rows of
// texts.
StatTable TableOf(std::initializer_list<std::array<const char *, 3>> rows)
{
    StatTable table;
    table.columns = {{QStringLiteral("Name"), 40}, {QString(), 0}, {QStringLiteral("Yds"), 30}};
    for (const auto &texts : rows) {
        TableRow row;
        for (const char *text : texts)
            row.cells.push_back(TableCell::Text(QString::fromLatin1(text)));
        table.rows.push_back(row);
    }
    return table;
}

} // namespace

TEST(ColumnFitting, ColumnsGrowToTheirWidestTextWithinTheRoom)
{
    StatTable table = TableOf({{"Jo", "", "5"}, {"Bartholomew Featherstone", "x", "1234567"}});
    FitColumns(table, TableFont(), 1000);
    EXPECT_EQ(table.columns[0].width, 40);
    EXPECT_EQ(table.DrawnWidth(0), Need("Bartholomew Featherstone", 0));
    EXPECT_EQ(table.DrawnWidth(1), 0); // hidden stays hidden
    EXPECT_EQ(table.DrawnWidth(2), Need("1234567"));
    EXPECT_FALSE(table.rows[1].cells[0].cut);
    EXPECT_FALSE(table.rows[1].cells[2].cut);
    EXPECT_FALSE(table.rows[1].cells[1].cut); // a hidden column draws nothing

    // Short texts leave the columns at their own widths.
    StatTable narrow = TableOf({{"Jo", "", "5"}});
    FitColumns(narrow, TableFont(), 1000);
    EXPECT_EQ(narrow.DrawnWidth(0), 40);
    EXPECT_EQ(narrow.DrawnWidth(2), 30);
}

TEST(ColumnFitting, WithoutEnoughRoomTheLeftColumnsGrowFirstAndTheRestIsCut)
{
    const QString longName = QStringLiteral("Bartholomew Featherstone");
    const int room = Need(longName, 0) - 40 + 3;
    StatTable table = TableOf({{"Bartholomew Featherstone", "", "1234567"}});
    FitColumns(table, TableFont(), room);
    EXPECT_EQ(table.DrawnWidth(0), Need(longName, 0));
    EXPECT_EQ(table.DrawnWidth(2), 33);
    EXPECT_FALSE(table.rows[0].cells[0].cut);
    EXPECT_EQ(table.rows[0].cells[2].cut, Need("1234567") > 33);

    // No room at all: the columns keep their widths and long texts are cut.
    StatTable crowded = TableOf({{"Bartholomew Featherstone", "", "5"}});
    FitColumns(crowded, TableFont(), -20);
    EXPECT_EQ(crowded.DrawnWidth(0), 40);
    EXPECT_TRUE(crowded.rows[0].cells[0].cut);
    EXPECT_FALSE(crowded.rows[0].cells[2].cut);
}

TEST(ColumnFitting, PagesShareTheirWidthAmongTablesSideBySide)
{
    StatTable table = TableOf({});
    // One table across: what the page leaves right of it.
    EXPECT_EQ(PageTableRoom(TablePage::Scoring, table, 500), 500 - 100);
    EXPECT_EQ(PageTableRoom(TablePage::Scoring, table, 50), 0);
    EXPECT_EQ(PageTableRoom(TablePage::Yardage, table, 5000), 128 - 5 - 100)
        << "under the page buttons, whatever the page's width";
    // Two across: each table gets half of what is left beside the widest
    // pair and the gap between them.
    const int room = PageTableRoom(TablePage::Offense, table, 2000);
    EXPECT_GT(room, 0);
    EXPECT_EQ(PageTableRoom(TablePage::Offense, table, 2000 + 100), room + 50);
    EXPECT_EQ(PageWidthForClient(1024), 1024 - 130 - 16);
}
