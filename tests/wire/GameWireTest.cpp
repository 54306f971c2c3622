#include "wire/GameWire.h"
#include "wire/TableWire.h"

#include "gamedata/GameSituation.h"

#include "../support/TestTeams.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace
{

template <typename Write> QJsonObject written(Write write)
{
    return QJsonDocument::fromJson(JsonWriter::Compact(write)).object();
}

} // namespace

TEST(TableWire, CellsCarryTheirLooksAndOnlyCutTextsSaySo)
{
    StatTable table;
    table.columns = {{"Player", 120, TableAlignment::Left},
                     {"Yds \"net\"", 40, TableAlignment::Right},
                     {"Qtr", 30, TableAlignment::Center}};
    table.drawnWidths = {110, 44, 30};
    TableRow first;
    first.itemData = -7;
    first.cells = {TableCell::Text("Smith, J."), TableCell::Text("12"), TableCell::Text("1st")};
    first.cells[0].cut = true;
    first.cells[1].bold = true;
    first.cells[2].textColor = RGB(255, 0, 16);
    TableRow shortRow; // fewer cells than columns
    shortRow.background = RGB(1, 2, 3);
    shortRow.cells = {TableCell::Text("only one")};
    table.rows = {first, shortRow};

    const QJsonObject json = written([&](JsonWriter &w) { TableWire::Write(w, table); });
    EXPECT_EQ(
        json["columns"][1].toObject(),
        (QJsonObject{
            {"header", "Yds \"net\""}, {"width", 40}, {"drawn_width", 44}, {"align", "right"}}));
    const QJsonArray cells = json["rows"][0]["cells"].toArray();
    EXPECT_EQ(json["rows"][0]["data"].toInt(), -7);
    EXPECT_TRUE(cells[0]["cut"].toBool());
    EXPECT_FALSE(cells[1].toObject().contains("cut"));
    EXPECT_TRUE(cells[1]["bold"].toBool());
    EXPECT_EQ(cells[2]["color"].toString(), "#ff0010");
    const QJsonArray shortCells = json["rows"][1]["cells"].toArray();
    ASSERT_EQ(shortCells.size(), 3) << "a cell for every column";
    EXPECT_EQ(shortCells[2]["text"].toString(), "");
    EXPECT_EQ(shortCells[2]["background"].toString(), "#010203");

    // Placed tables carry their place beside the columns and rows.
    const QJsonObject placed = written([&](JsonWriter &w) {
        TableWire::Write(w, table, QJsonObject{{"x", 5}},
                         [](int row, int column) { return row == 1 && column == 0; });
    });
    EXPECT_EQ(placed["x"].toInt(), 5);
    EXPECT_TRUE(placed["rows"][1]["cells"][0]["yards_derived"].toBool());
    EXPECT_FALSE(placed["rows"][0]["cells"][0].toObject().contains("yards_derived"));
}

TEST(GameWire, TeamValuesByLabelTheLastOfANameGivenTwice)
{
    TestTeam team({{"Zulu", "a\"b\\c"}, {"Alpha", "M\xc3\xbcller"}, {"Zulu", "last"}});
    team.Player({{"No", "7"}, {"Name", "\t<tab>"}});
    team.Player({{"\xc3\x9cnits", "1"}, {"No", "8"}}); // a name Qt orders by UTF-16
    const QJsonObject json = written([&](JsonWriter &w) { GameWire::WriteTeam(w, team); });
    EXPECT_EQ(json["values"].toObject(),
              (QJsonObject{{"Zulu", "last"}, {"Alpha", QString::fromUtf8("M\xc3\xbcller")}}));
    EXPECT_EQ(json["players"][0].toObject(), (QJsonObject{{"No", "7"}, {"Name", "\t<tab>"}}));
    EXPECT_EQ(json["players"][1][QString::fromUtf8("\xc3\x9cnits")].toString(), "1");
    EXPECT_EQ(json["side"].toString().size(), 1);
}

TEST(GameWire, SituationWithNullsAndEscapes)
{
    GameSituation situation;
    situation.period = 5;
    situation.period_label = "OT";
    situation.line_score = {{"1", "OT"}, {3, 0}, {0, 7}, 3, 7};
    situation.timeouts_left.visitor = 1;
    situation.down_distance = "2nd & 4";
    situation.last_play = "A \"B\" rush\\run\n";
    const QJsonObject json =
        written([&](JsonWriter &w) { GameWire::WriteSituation(w, situation); });
    EXPECT_EQ(json, (QJsonObject{
                        {"period", 5},
                        {"period_label", "OT"},
                        {"line_score", QJsonObject{{"periods", QJsonArray{"1", "OT"}},
                                                   {"home", QJsonArray{3, 0}},
                                                   {"visitor", QJsonArray{0, 7}},
                                                   {"home_total", 3},
                                                   {"visitor_total", 7}}},
                        {"timeouts_left", QJsonObject{{"home", QJsonValue::Null}, {"visitor", 1}}},
                        {"possession", QJsonValue::Null},
                        {"down_distance", "2nd & 4"},
                        {"ball_on", ""},
                        {"last_play", "A \"B\" rush\\run\n"},
                    }));
}
