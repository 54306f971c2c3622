// Where the Individual Player window puts its parts, and the export of what
// it shows, as values.
#include "player/PlayerLayout.h"
#include "player/PlayerJson.h"
#include "views/PlayerContent.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace
{

using Tables = std::array<std::optional<QSize>, kPlayerCategoryCount>;

// The categories `shown`, each table `size` big.
Tables tablesOf(std::initializer_list<int> shown, QSize size)
{
    Tables tables;
    for (int category : shown)
        tables[static_cast<std::size_t>(category)] = size;
    return tables;
}

} // namespace

TEST(PlayerLayout, TablesThatDoNotFitStartANewLine25PixelsBelowTheTallest)
{
    Tables tables = tablesOf({0, 2, 3, 5}, QSize(250, 50));
    tables[2] = QSize(250, 70);
    const PlayerLayout layout = PlayerLayout::Compute(QSize(600, 900), QPoint(0, 0), tables);
    ASSERT_EQ(layout.categories.size(), 4u);
    EXPECT_EQ(layout.categories[0].category, 0) << "Defense first";
    EXPECT_EQ(layout.categories[0].table, QRect(0, 15, 250, 50));
    EXPECT_EQ(layout.categories[0].title, QRect(0, 0, 250, 15));
    EXPECT_EQ(layout.categories[1].table, QRect(260, 15, 250, 70)) << "hidden ones leave no gap";
    // 520 + 250 > 600: a new line 25 below the taller table, titles 15 above.
    EXPECT_EQ(layout.categories[2].title, QRect(0, 95, 250, 15));
    EXPECT_EQ(layout.categories[2].table, QRect(0, 110, 250, 50));
    EXPECT_EQ(layout.categories[3].table.topLeft(), QPoint(260, 110));
    EXPECT_EQ(layout.contentHeight, 95 + 50 + 15);
    EXPECT_FALSE(layout.scrolls);
    EXPECT_EQ(layout.panel, QRect(0, 35, 600, layout.contentHeight + 4)) << "content and edge";
    EXPECT_EQ(layout.playsLabel, QRect(0, layout.panel.height() + 45, 200, 15));
    EXPECT_EQ(layout.plays,
              QRect(0, layout.panel.height() + 60, 600, 900 - layout.panel.height() - 60));

    const PlayerLayout wide = PlayerLayout::Compute(QSize(200, 900), QPoint(0, 0), tables);
    EXPECT_EQ(wide.categories[1].table.topLeft(), QPoint(0, 50 + 25 + 15))
        << "a table wider than the window still starts a new line";
}

TEST(PlayerLayout, OnAShortWindowThePanelStops135PixelsAboveTheBottomAndScrolls)
{
    const Tables tables = tablesOf({1, 2, 3, 4, 5, 6}, QSize(300, 60));
    const PlayerLayout layout = PlayerLayout::Compute(QSize(600, 400), QPoint(0, 30), tables);
    EXPECT_TRUE(layout.scrolls);
    EXPECT_EQ(layout.panel, QRect(0, 35, 600, 400 - 135));
    EXPECT_GT(layout.contentHeight, layout.panel.height());
    EXPECT_EQ(layout.plays.top(), 400 - 135 + 60);
    EXPECT_EQ(layout.categories[0].table.topLeft(), QPoint(0, 15 - 30)) << "scrolled up by 30";
}

TEST(PlayerJson, TablesStandInsideThePanelsEdgeAndDerivedYardsAreMarked)
{
    PlayerContent content;
    content.title = QStringLiteral("#12 Jon Smith");
    content.categories[2].shown = true;
    content.categories[2].game = {"3", "9", "0", "6", "3.0"};
    content.categories[2].season = std::vector<QString>(5);
    PlayerContent::Play told;
    told.down = QStringLiteral("1-10");
    told.lines = {QStringLiteral("Smith rush"), QStringLiteral("for 4 yards.")};
    told.typeMark = QStringLiteral("r4");
    told.yardsDerived = true;
    PlayerContent::Play given = told;
    given.typeMark = QStringLiteral("r2");
    given.yardsDerived = false;
    content.plays = {given, told};

    const PlayerLayout layout =
        PlayerLayout::Compute(QSize(600, 400), QPoint(0, 0), tablesOf({2}, QSize(200, 50)));
    const QJsonObject json =
        QJsonDocument::fromJson(PlayerJson(content, layout, content.PlaysTable())).object();
    EXPECT_EQ(json["title"].toString(), content.title);
    EXPECT_EQ(json["heading"].toString(), QStringLiteral("Game and Season Stats"));
    const QJsonObject rushing = json["categories"].toArray()[0].toObject();
    EXPECT_EQ(rushing["title"].toString(), QStringLiteral("Rushing"));
    EXPECT_EQ(QPoint(rushing["x"].toInt(), rushing["y"].toInt()), QPoint(2, 17));
    EXPECT_EQ(rushing["title_rect"].toArray(), (QJsonArray{2, 2, 200, 15}));
    EXPECT_EQ(rushing["rows"][0]["cells"][1]["text"].toString(), QStringLiteral("3"));

    const QJsonArray rows = json["plays"]["rows"].toArray();
    ASSERT_EQ(rows.size(), 4);
    const auto typeCell = [&rows](int row) { return rows[row]["cells"][3].toObject(); };
    EXPECT_FALSE(typeCell(0).contains("yards_derived"));
    EXPECT_EQ(typeCell(2)["text"].toString(), QStringLiteral("r4"));
    EXPECT_TRUE(typeCell(2)["yards_derived"].toBool());
    EXPECT_FALSE(typeCell(3).contains("yards_derived")) << "only beside the yards";
    EXPECT_EQ(json["plays"]["y"].toInt(), layout.plays.y());
}
