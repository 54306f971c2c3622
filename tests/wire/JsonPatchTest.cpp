#include "wire/JsonPatch.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace
{

using nlohmann::json;

QByteArray compact(const QJsonValue &value)
{
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return wrapped.mid(1, wrapped.size() - 2);
}

// A table of `count` rows of distinct players, as the tables are written.
QJsonArray playerRows(int count)
{
    QJsonArray rows;
    for (int i = 0; i < count; ++i)
        rows.append(QJsonObject{{"cells", QJsonArray{QString("Player %1").arg(i), i % 7, "0"}},
                                {"data", i}});
    return rows;
}

// The patch between the two texts, checked to make `after` out of `before`.
QByteArray checkedPatch(const QByteArray &before, const QByteArray &after)
{
    const QByteArray patch = JsonPatch::Between(before, after);
    EXPECT_EQ(json::parse(before.toStdString()).patch(json::parse(patch.toStdString())),
              json::parse(after.toStdString()))
        << before.constData() << "\n -> " << after.constData() << "\n by " << patch.constData();
    return patch;
}

} // namespace

// Whatever the texts hold, the patch makes the new value out of the old:
// commas, brackets and escaped quotes inside strings, rows added, dropped,
// changed and moved, nested arrays and objects, member names that need
// escaping in a pointer.
TEST(JsonPatch, ThePatchMakesTheNewValueOutOfTheOld)
{
    QJsonArray rows = playerRows(120);
    const auto withRows = [](const QJsonArray &changed) {
        return compact(QJsonObject{{"columns", QJsonArray{"a"}}, {"rows", changed}});
    };
    const QByteArray table = withRows(rows);

    QJsonArray moved = rows; // a sorted table: a player's line changes and moves up
    moved.removeAt(90);
    moved.insert(3, QJsonObject{{"cells", QJsonArray{"Player 90", 12, "0"}}, {"data", 90}});
    checkedPatch(table, withRows(moved));

    QJsonArray edited = rows; // rows dropped, changed, added and swapped about the table
    edited.removeAt(0);
    edited.removeAt(50);
    edited[60] = QJsonObject{{"cells", QJsonArray{"x], {\"y\\", 1, "0"}}, {"data", 61}};
    edited.append(QJsonObject{{"cells", QJsonArray{"Ü,\"]}", 0, "1"}}, {"data", 120}});
    const QJsonValue row = edited[10];
    edited[10] = edited[70];
    edited[70] = row;
    edited.insert(30, edited[31]);
    checkedPatch(table, withRows(edited));

    QJsonArray reversed; // too far apart to walk: still right, however sent
    for (qsizetype i = rows.size() - 1; i >= 0; --i)
        reversed.append(rows[i]);
    checkedPatch(table, withRows(reversed));
    checkedPatch(withRows({}), table);
    checkedPatch(table, withRows({}));

    // Teams with players: one player's line and the team's values change.
    QJsonObject home{
        {"side", "home"}, {"players", playerRows(60)}, {"values", QJsonObject{{"FD", "7"}}}};
    const QJsonObject visitor = home;
    const QByteArray teams = compact(QJsonArray{home, visitor});
    QJsonArray players = home["players"].toArray();
    players[8] = QJsonObject{{"cells", QJsonArray{"Player 8", 3, "12"}}, {"data", 8}};
    home["players"] = players;
    home["values"] = QJsonObject{{"FD", "8"}};
    EXPECT_LT(checkedPatch(teams, compact(QJsonArray{home, visitor})).size(), 150);

    // Members come and go, under names a pointer escapes.
    const QJsonObject pages{{"a/b", QJsonObject{{"~x", playerRows(30)}}}, {"c", 1}, {"q\"", 2}};
    QJsonObject grown = pages;
    grown.remove("c");
    grown["d/\u00e9"] = 3;
    grown["q\""] = 4;
    grown["a/b"] = QJsonObject{{"~x", playerRows(31)}, {"y", 0}};
    const QByteArray patch = checkedPatch(compact(pages), compact(grown));
    EXPECT_TRUE(patch.contains("\"/a~1b/~0x/30\"")) << patch.constData();
}

// A value whose operations are no shorter is replaced whole; a moved row
// costs one "move", not the rows it passed.
TEST(JsonPatch, ShortOperationsOrTheValueWhole)
{
    EXPECT_EQ(JsonPatch::Between("12", "13"), R"([{"op":"replace","path":"","value":13}])");
    EXPECT_EQ(JsonPatch::Between("[1,2]", R"({"a":1})"),
              R"([{"op":"replace","path":"","value":{"a":1}}])");
    EXPECT_EQ(JsonPatch::Between(R"({"a":[1,2]})", R"({"a":[3,4]})"),
              R"([{"op":"replace","path":"/a","value":[3,4]}])");
    const QByteArray same = compact(QJsonObject{{"rows", playerRows(40)}, {"a", 1}});
    EXPECT_EQ(JsonPatch::Between(same, same), "[]");

    QJsonArray rows = playerRows(500);
    const QByteArray before = compact(QJsonObject{{"rows", rows}});
    const QJsonValue row = rows[400];
    rows.removeAt(400);
    rows.insert(0, row);
    EXPECT_EQ(checkedPatch(before, compact(QJsonObject{{"rows", rows}})),
              R"([{"op":"move","from":"/rows/400","path":"/rows/0"}])");
    rows.removeAt(0);
    rows.insert(450, row); // and down again, past other rows
    EXPECT_EQ(checkedPatch(before, compact(QJsonObject{{"rows", rows}})),
              R"([{"op":"move","from":"/rows/400","path":"/rows/450"}])");
}
